#pragma once
// The order of the file list.

#include <cstdint>
#include <memory>
#include <string_view>
#include <functional>
#include <vector>

#include "common/core/DateFormat.h"
#include "browse/core/FileItem.h"

namespace pw {

// Sort columns of the file list.
enum FileColumn : int {
  ColName = 0, ColSize, ColType, ColCreated, ColModified, ColAccessed, ColAttributes,
  ColumnCount
};

// Negative when a goes first. Bracketed entries stay on top in either direction: the parent or
// drives entry first, then other names starting with "[" in the normal order. Then folders before
// files (reversed when descending) and the column's key, compared on raw values: 64-bit sizes,
// file times to the millisecond, type text + caption and kind + attribute letters + caption as
// one text each; captions break ties.
int CompareFileItems(const FileItem& a, const FileItem& b, int sortColumn, bool ascending,
                     const FileTextContext& ctx);
// Orders the items as CompareFileItems does; entries that compare equal keep their order.
// Returns the order: order[new place] = old place.
std::vector<std::uint32_t> SortFileItems(std::vector<FileItem>& items, int sortColumn, bool ascending,
                                         const FileTextContext& ctx);

// Sorting the items of a listing while the folder is read: each run of items found is sorted
// beside the listing as it comes, and merged with the runs before it (runs of like length first),
// so that the end of a long listing leaves only the last run to sort and one merge to make. The
// order is exactly SortFileItems'. Only for the columns whose order needs nothing of an item but
// its kind, caption and values (name, size, the times); the type and attribute orders rank the
// texts of the whole listing, and are sorted once it has ended.
class RunningSort {
public:
  // Runs the sorting of the runs on a thread other than the listing's; by default a new one.
  using Runner = std::function<void(std::function<void()>)>;
  static bool Serves(int sortColumn);
  RunningSort(int sortColumn, bool ascending, Runner runner = {});
  // What is still to sort is let go; the thread that sorts ends after the run it sorts.
  ~RunningSort();
  RunningSort(const RunningSort&) = delete;
  RunningSort& operator=(const RunningSort&) = delete;

  // The next `count` items of the listing, whose first is the listing's item number `first`: read
  // here, on the listing's own thread; their captions must stay where they are until Finish.
  void Add(const FileItem* items, std::uint32_t first, std::size_t count);
  // Every item of the listing, the ones added first: puts them in order (those not added yet are
  // sorted now). Returns the order: order[new place] = old place. Once.
  std::vector<std::uint32_t> Finish(std::vector<FileItem>& items);

private:
  struct Runs;

  int column_;
  bool ascending_;
  Runner runner_;
  bool started_ = false;
  std::uint32_t added_ = 0;
  std::shared_ptr<Runs> runs_;
};

}  // namespace pw
