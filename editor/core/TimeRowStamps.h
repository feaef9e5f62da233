#pragma once
// Which stamp each time row of the editor writes. A row is shown to the millisecond, but a file's
// stamps carry 100-ns digits, and a local time can name two instants (the hour repeated when the
// clocks go back): a row the user did not change must write back exactly the stamp that was loaded
// into it, never a value converted back from what it shows, nor another row's stamp that happens
// to show the same.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace pw {

class TimeRowStamps {
public:
  static constexpr int kRows = 3;  // creation, last write, last access
  // Local date-time -> UTC file time; nothing when it cannot be converted.
  using ToUtc = std::function<std::optional<std::uint64_t>(double localDateTime)>;

  // The stamps loaded into the rows, and what each row showed right after (a date control may not
  // show every date, so this is read back from the row, not made from the stamp).
  void Load(const std::array<std::uint64_t, kRows>& stamps, const std::array<double, kRows>& shown);
  // The user changed the row (typed, stepped, picked a date, turned the wheel).
  void Changed(int row);
  // Set now, Clear time.
  void ChangedAll();
  // Every row was set to what `row` shows (Synchronize): each carries what that row carries.
  void CopiedFrom(int row);

  // The stamp a checked row writes while it shows `shown`: the loaded stamp it still carries when it
  // shows that stamp's millisecond (its own, or a synchronized source row's while that row is
  // unchanged); its own loaded stamp when it shows that again; else the shown value converted.
  std::optional<std::uint64_t> StampFor(int row, double shown, const ToUtc& toUtc) const;

private:
  static constexpr int kChanged = -1;
  std::array<std::uint64_t, kRows> loaded_{};
  std::array<double, kRows> shownAtLoad_{};
  std::array<int, kRows> origin_{0, 1, 2};  // whose loaded stamp the row carries, or kChanged
};

}  // namespace pw
