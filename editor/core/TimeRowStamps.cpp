#include "editor/core/TimeRowStamps.h"

#include "common/core/DateTime.h"

namespace pw {
namespace {

bool SameMillisecond(double a, double b) {
  const DateTimeSplit x = SplitDateTime(a), y = SplitDateTime(b);
  return x.days == y.days && x.msOfDay == y.msOfDay;
}

bool IsRow(int row) { return row >= 0 && row < TimeRowStamps::kRows; }

}  // namespace

void TimeRowStamps::Load(const std::array<std::uint64_t, kRows>& stamps, const std::array<double, kRows>& shown) {
  loaded_ = stamps;
  shownAtLoad_ = shown;
  for (int i = 0; i < kRows; ++i) origin_[i] = i;
}

void TimeRowStamps::Changed(int row) {
  if (IsRow(row)) origin_[row] = kChanged;
}

void TimeRowStamps::ChangedAll() { origin_.fill(kChanged); }

void TimeRowStamps::CopiedFrom(int row) {
  if (IsRow(row)) origin_.fill(origin_[row]);
}

std::optional<std::uint64_t> TimeRowStamps::StampFor(int row, double shown, const ToUtc& toUtc) const {
  if (!IsRow(row)) return std::nullopt;
  const int origin = origin_[row];
  if (origin != kChanged && SameMillisecond(shown, shownAtLoad_[origin])) return loaded_[origin];
  if (SameMillisecond(shown, shownAtLoad_[row])) return loaded_[row];
  return toUtc(shown);
}

}  // namespace pw
