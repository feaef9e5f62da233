#pragma once
// Calendar fields for tests, written in one line.
#include "common/core/DateTime.h"

inline pw::CalendarTime Calendar(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  pw::CalendarTime t;
  t.Year = y;
  t.Month = mo;
  t.Day = d;
  t.Hour = h;
  t.Minute = mi;
  t.Second = s;
  t.Millisecond = ms;
  return t;
}
