#pragma once
// The order of the file list.

#include <cstdint>
#include <string_view>
#include <vector>

#include "browse/core/DateFormat.h"
#include "browse/core/FileItem.h"

namespace pw {

// Folds only a-z to upper case and compares code units, so the order does not depend on the
// user's locale. -1, 0 or 1 by the first difference; a text that begins the other sorts first.
int CaselessCompare(std::wstring_view a, std::wstring_view b);

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
void SortFileItems(std::vector<FileItem>& items, int sortColumn, bool ascending,
                   const FileTextContext& ctx);

}  // namespace pw
