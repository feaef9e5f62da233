#pragma once
// The order of the file list.

#include <cstdint>
#include <string_view>
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

}  // namespace pw
