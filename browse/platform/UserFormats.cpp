#include "browse/platform/UserFormats.h"

#include <windows.h>

#include "common/platform/LocalTime.h"

namespace pw {

void LoadUserFormats(FileTextContext& ctx) {
  LocaleNames names;
  for (int i = 0; i < 12; ++i) {
    names.LongMonths[i] = LocaleString(LOCALE_SMONTHNAME1 + i, L"");
    names.ShortMonths[i] = LocaleString(LOCALE_SABBREVMONTHNAME1 + i, L"");
  }
  // The locale lists the days from Monday; the formatter counts from Sunday.
  for (int i = 0; i < 7; ++i) {
    int sundayBased = (i + 1) % 7;
    names.LongDays[sundayBased] = LocaleString(LOCALE_SDAYNAME1 + i, L"");
    names.ShortDays[sundayBased] = LocaleString(LOCALE_SABBREVDAYNAME1 + i, L"");
  }
  ctx.Date = DateFormatter(LocaleString(LOCALE_SSHORTDATE, L"M/d/yyyy"), names);
  ctx.ThousandSep = LocaleString(LOCALE_STHOUSAND, L",");
  ctx.TimeSep = LocaleString(LOCALE_STIME, L":");
}

}  // namespace pw
