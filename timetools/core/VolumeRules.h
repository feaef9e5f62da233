#pragma once
// What a volume keeps of the times written to it, told by the name its file system reports. NTFS
// and ReFS keep every 100-ns digit; FAT keeps the last write to 2 s, the creation to 10 ms and the
// last access to the day, on the local clock between 1980 and 2107; exFAT keeps 10 ms. The preview
// says beforehand what the volume will keep; after a run, the times read back are sorted into the
// roundings the volume was expected to make and anything else, which is shown entry by entry.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/core/DateTime.h"
#include "timetools/core/TimeBatch.h"

namespace pw {

// How a volume stores one of an entry's three times. Stamps are cut to a grid of Granule ticks
// after Lead ticks are added: 0 rounds down, Granule - 1 rounds up. Where LocalTime is set, the
// grid, the day and the range are counted on the local clock; else in UTC.
struct TimeKeeping {
  bool Kept = true;  // false: the volume answers "done" to a write and keeps what it had
  std::uint64_t Granule = 1;
  std::uint64_t Lead = 0;
  bool LocalTime = false;
  // The stamps it can hold once led, inclusive, as ticks of its clock since 1601.
  std::uint64_t First = 1, Last = kLastFileTime;
  // A led stamp at most this far before First is kept as First rather than refused.
  std::uint64_t HeldAsFirst = 0;
};

struct VolumeRules {
  std::wstring FileSystem;  // the name as reported, for the report's words
  TimeKeeping Created, LastWrite, LastAccess;
  // Learned from what the volume kept rather than told by its name (a network share says "NTFS"
  // whatever the server's disk keeps); the report then names it by what it is.
  bool Learned = false;
  bool Network = false;
  const TimeKeeping& For(TimeField field) const;
  TimeKeeping& For(TimeField field);
};

// The rules for a file-system name as GetVolumeInformationW reports it ("NTFS", "ReFS", "FAT",
// "FAT12", "FAT16", "FAT32", "exFAT"; letter case aside). Nothing for any other name: what such a
// volume keeps cannot be told, and nothing is claimed about it.
std::optional<VolumeRules> RulesForFileSystem(std::wstring_view name);

// UTC -> local time, as the system converts for the volume: FAT is written with the offset in
// force now (FileTimeToLocalFileTime), not the one of the stamp's own date. Nothing when the stamp
// has no local time.
using ToLocalTime = std::function<std::optional<std::uint64_t>(std::uint64_t utc)>;

struct KeptStamp {
  enum class Outcome : std::uint8_t {
    Stored,      // Value is the UTC stamp it will read back
    Unchanged,   // the write is answered "done" and the time keeps what it had
    CannotHold,  // out of its range: the system refuses the write (error 87)
  };
  Outcome What = Outcome::Stored;
  std::uint64_t Value = 0;
  friend bool operator==(const KeptStamp&, const KeptStamp&) = default;
};

// What the volume will keep when `asked` (UTC) is written to the time.
KeptStamp PredictKept(const TimeKeeping& keeping, std::uint64_t asked, const ToLocalTime& toLocal);

// What the volume will do with a change asked of an entry, before anything is written.
struct ChangeForecast {
  TimeChange Kept;  // each asked time the volume keeps otherwise: the value it will read back
  // The first asked time (created, last write, last access) the volume cannot hold: the entry is
  // left out of the run, which the volume would refuse or, worse, store as another year.
  std::optional<TimeField> CannotHold;
  std::uint64_t Refused = 0;  // that time as asked
  bool Differs() const { return Kept.Any() || CannotHold.has_value(); }
};
ChangeForecast ForecastChange(const TimeChange& asked, const EntryInfo& before, const VolumeRules& rules,
                              const ToLocalTime& toLocal);

// ---- After a run -------------------------------------------------------------------------------

// The entries whose time the volume rounded (or did not keep) as its rules say, counted per time.
struct RoundingGroup {
  TimeField Field = TimeField::LastWrite;
  std::size_t Entries = 0;
  friend bool operator==(const RoundingGroup&, const RoundingGroup&) = default;
};

struct UnexpectedRounding {
  enum class Kind : std::uint8_t {
    KeptNothing,    // the write was answered "done", yet the time still holds what it had before
    KeptOtherwise,  // the time holds neither what was asked nor a rounding the volume makes
  };
  Rounding What;
  Kind Why = Kind::KeptOtherwise;
  friend bool operator==(const UnexpectedRounding&, const UnexpectedRounding&) = default;
};

struct SortedRoundings {
  std::vector<RoundingGroup> Predicted;  // in the order created, last write, last access
  std::vector<UnexpectedRounding> Unexpected;  // in the run's order
};

// Sorts what a run read back otherwise than asked. A stored value counts as predicted when it is
// the predicted one, or when it lies on the volume's grid less than one granule from the asked
// value: drivers round either way (Windows' FAT rounds the last write up, the Linux FUSE driver
// down). Without rules every one is unexpected.
SortedRoundings SortRoundings(std::span<const Rounding> roundings, const std::optional<VolumeRules>& rules,
                              const ToLocalTime& toLocal);

// Whether a volume may keep what it stored instead of the asked value: a rounding its rules make,
// nothing at all (the report names it), the last write in place of a time it keeps none of, or
// anything where its rules are not known. Anything else is a time nobody asked for.
bool MayKeep(const Rounding& stored, const EntryInfo& after, const std::optional<VolumeRules>& rules,
             const ToLocalTime& toLocal);

// What the volume's rules learn from a time it stored otherwise than asked: where the value lies
// on a coarser grid than the rules say (whole seconds, two seconds, ...) less than one step from
// the asked one, the volume keeps that grid, cutting down. True when the rules changed; a value
// the rules explain already, an ignored write (the value before) or one off every grid teaches
// nothing.
bool LearnKeeping(VolumeRules& rules, const Rounding& stored, const ToLocalTime& toLocal);

// One line of the report for a group: "12 entries: last write kept to 2 s, as this FAT volume does".
// The count's digits are grouped with `thousandSep`.
std::wstring RoundingSummary(const RoundingGroup& group, const VolumeRules& rules, std::wstring_view thousandSep);

}  // namespace pw
