#include "browse/platform/UserFormats.h"

#include <windows.h>

#include "common/platform/LocalTime.h"

namespace pw {

void LoadUserFormats(FileTextContext& ctx) {
  ctx.Date = UserDateFormat();
  ctx.ThousandSep = LocaleString(LOCALE_STHOUSAND, L",");
  ctx.TimeSep = LocaleString(LOCALE_STIME, L":");
}

}  // namespace pw
