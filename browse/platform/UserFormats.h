#pragma once
// The user's formats for the list's texts: the short date pattern with the month and day names,
// the thousands and the time separators.
#include "browse/core/FileItem.h"

namespace pw {

void LoadUserFormats(FileTextContext& ctx);

}  // namespace pw
