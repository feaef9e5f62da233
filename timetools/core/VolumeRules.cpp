#include "timetools/core/VolumeRules.h"

#include <array>

#include "common/core/CaselessText.h"
#include "common/core/NumberText.h"

namespace pw {
namespace {

constexpr std::uint64_t kTicksPerMs = 10'000;
constexpr std::uint64_t kTenMs = 10 * kTicksPerMs, kTwoSeconds = 2 * kTicksPerSecond;
// 1980-01-01 00:00:00 and the last tick of 2107-12-31: the years a FAT date can name.
constexpr std::uint64_t kFirstOf1980 = 119'600'064'000'000'000;
constexpr std::uint64_t kLastOf2107 = 159'992'927'999'999'999;

constexpr TimeKeeping kEveryTick{};

// The FAT family on the local clock. Windows' FAT driver rounds the last write up, so that a copy
// is never older than its original, and takes the last access's day from the stamp rounded the
// same way; it cuts the creation down to 10 ms. A stamp on the last day of 1979 it keeps as
// 1980-01-01 00:00, its allowance for time-zone slips; anything earlier it refuses.
constexpr TimeKeeping FatFamily(std::uint64_t granule, std::uint64_t lead, std::uint64_t heldAsFirst) {
  return {.Kept = true,
          .Granule = granule,
          .Lead = lead,
          .LocalTime = true,
          .First = kFirstOf1980,
          .Last = kLastOf2107,
          .HeldAsFirst = heldAsFirst};
}

struct Family {
  std::array<std::wstring_view, 4> Names;
  TimeKeeping Created, LastWrite, LastAccess;
};

// exFAT's access stamp has no 10-ms field. Its driver's rounding is not published: it is taken to
// follow FAT's (the write up, the creation down), and the check after writing accepts either way.
constexpr std::array<Family, 3> kFamilies{{
    {.Names = {L"NTFS", L"ReFS"}, .Created = kEveryTick, .LastWrite = kEveryTick, .LastAccess = kEveryTick},
    {.Names = {L"FAT", L"FAT12", L"FAT16", L"FAT32"},
     .Created = FatFamily(kTenMs, 0, kTicksPerDay),
     .LastWrite = FatFamily(kTwoSeconds, kTwoSeconds - 1, kTicksPerDay),
     .LastAccess = FatFamily(kTicksPerDay, kTwoSeconds - 1, kTicksPerDay)},
    {.Names = {L"exFAT"},
     .Created = FatFamily(kTenMs, 0, 0),
     .LastWrite = FatFamily(kTenMs, kTenMs - 1, 0),
     .LastAccess = FatFamily(kTwoSeconds, kTwoSeconds - 1, 0)},
}};

// How far the volume's clock is ahead of UTC at `utc`; nothing when the stamp has no local time.
std::optional<std::int64_t> ClockOffset(const TimeKeeping& keeping, std::uint64_t utc, const ToLocalTime& toLocal) {
  if (!keeping.LocalTime) return 0;
  const std::optional<std::uint64_t> local = toLocal ? toLocal(utc) : std::nullopt;
  if (!local) return std::nullopt;
  return static_cast<std::int64_t>(*local) - static_cast<std::int64_t>(utc);
}

std::uint64_t Cut(std::uint64_t stamp, std::uint64_t granule) { return granule > 1 ? stamp - stamp % granule : stamp; }

// A stored value the volume could have made from the asked one, whichever way its driver rounds:
// on its grid, less than one granule away.
bool OnGridNearAsked(const TimeKeeping& keeping, const Rounding& rounding, const ToLocalTime& toLocal) {
  const std::optional<std::int64_t> offset = ClockOffset(keeping, rounding.Asked, toLocal);
  if (!offset) return false;
  const std::int64_t stored = static_cast<std::int64_t>(rounding.Stored) + *offset;
  const std::int64_t asked = static_cast<std::int64_t>(rounding.Asked) + *offset;
  const auto granule = static_cast<std::int64_t>(keeping.Granule);
  if (stored < 0 || (granule > 1 && stored % granule != 0)) return false;
  return (stored > asked ? stored - asked : asked - stored) < granule;
}

bool AsPredicted(const TimeKeeping& keeping, const Rounding& rounding, const ToLocalTime& toLocal) {
  const KeptStamp predicted = PredictKept(keeping, rounding.Asked, toLocal);
  switch (predicted.What) {
    case KeptStamp::Outcome::Stored:
      if (predicted.Value == rounding.Stored) return true;
      // The old value back, where the volume would have moved it: the write was ignored, whatever
      // grid the old value happens to lie on.
      if (rounding.Stored == rounding.Before) return false;
      break;
    case KeptStamp::Outcome::Unchanged: return rounding.Stored == rounding.Before;
    case KeptStamp::Outcome::CannotHold: break;
  }
  return OnGridNearAsked(keeping, rounding, toLocal);
}

std::size_t FieldIndex(TimeField field) { return static_cast<std::size_t>(field); }

const wchar_t* FieldWords(TimeField field) {
  switch (field) {
    case TimeField::Created: return L"creation";
    case TimeField::LastWrite: return L"last write";
    case TimeField::LastAccess: return L"last access";
  }
  return L"";
}

std::wstring GranuleText(std::uint64_t granule) {
  const auto number = [](std::uint64_t n) { return FormatGrouped(n, L""); };
  if (granule == kTicksPerDay) return L"the day";
  if (granule % kTicksPerDay == 0) return number(granule / kTicksPerDay) + L" days";
  if (granule % kTicksPerSecond == 0) return number(granule / kTicksPerSecond) + L" s";
  if (granule % kTicksPerMs == 0) return number(granule / kTicksPerMs) + L" ms";
  return number(granule * 100) + L" ns";
}

}  // namespace

const TimeKeeping& VolumeRules::For(TimeField field) const {
  switch (field) {
    case TimeField::Created: return Created;
    case TimeField::LastWrite: break;
    case TimeField::LastAccess: return LastAccess;
  }
  return LastWrite;
}

TimeKeeping& VolumeRules::For(TimeField field) {
  return const_cast<TimeKeeping&>(static_cast<const VolumeRules&>(*this).For(field));
}

std::optional<VolumeRules> RulesForFileSystem(std::wstring_view name) {
  for (const Family& family : kFamilies) {
    for (const std::wstring_view known : family.Names) {
      if (!known.empty() && CaselessCompare(name, known) == 0)
        return VolumeRules{std::wstring(name), family.Created, family.LastWrite, family.LastAccess};
    }
  }
  return std::nullopt;
}

KeptStamp PredictKept(const TimeKeeping& keeping, std::uint64_t asked, const ToLocalTime& toLocal) {
  constexpr KeptStamp kCannotHold{.What = KeptStamp::Outcome::CannotHold};
  if (!keeping.Kept) return {.What = KeptStamp::Outcome::Unchanged};
  if (asked > kLastFileTime) return kCannotHold;
  const std::optional<std::int64_t> offset = ClockOffset(keeping, asked, toLocal);
  if (!offset) return kCannotHold;
  const std::int64_t onClock = static_cast<std::int64_t>(asked) + *offset;
  if (onClock < 0) return kCannotHold;
  // Both stay far below the end of the unsigned range: stamps are below 2^63, leads below a day.
  const std::uint64_t led = static_cast<std::uint64_t>(onClock) + keeping.Lead;
  std::uint64_t kept = 0;
  if (led < keeping.First) {
    if (keeping.First - led > keeping.HeldAsFirst) return kCannotHold;
    kept = keeping.First;
  } else if (led > keeping.Last) {
    return kCannotHold;
  } else {
    kept = Cut(led, keeping.Granule);
  }
  const std::int64_t utc = static_cast<std::int64_t>(kept) - *offset;
  if (utc < 1 || static_cast<std::uint64_t>(utc) > kLastFileTime) return kCannotHold;
  return {.What = KeptStamp::Outcome::Stored, .Value = static_cast<std::uint64_t>(utc)};
}

ChangeForecast ForecastChange(const TimeChange& asked, const EntryInfo& before, const VolumeRules& rules,
                              const ToLocalTime& toLocal) {
  ChangeForecast forecast;
  const auto look = [&](TimeField field, const std::optional<std::uint64_t>& value, std::uint64_t had,
                        std::optional<std::uint64_t>& kept) {
    if (!value || forecast.CannotHold) return;
    const KeptStamp stamp = PredictKept(rules.For(field), *value, toLocal);
    switch (stamp.What) {
      case KeptStamp::Outcome::CannotHold:
        forecast.CannotHold = field;
        forecast.Refused = *value;
        return;
      case KeptStamp::Outcome::Unchanged:
        if (had != *value) kept = had;
        return;
      case KeptStamp::Outcome::Stored:
        if (stamp.Value != *value) kept = stamp.Value;
        return;
    }
  };
  look(TimeField::Created, asked.Created, before.Created, forecast.Kept.Created);
  look(TimeField::LastWrite, asked.LastWrite, before.LastWrite, forecast.Kept.LastWrite);
  look(TimeField::LastAccess, asked.LastAccess, before.LastAccess, forecast.Kept.LastAccess);
  if (forecast.CannotHold) forecast.Kept = {};
  return forecast;
}

SortedRoundings SortRoundings(std::span<const Rounding> roundings, const std::optional<VolumeRules>& rules,
                              const ToLocalTime& toLocal) {
  SortedRoundings sorted;
  std::array<std::size_t, 3> counts{};
  for (const Rounding& rounding : roundings) {
    if (rules && AsPredicted(rules->For(rounding.Field), rounding, toLocal)) {
      ++counts[FieldIndex(rounding.Field)];
      continue;
    }
    // A rounding is only recorded where the asked time differs from the one before.
    const bool keptNothing = rounding.Stored == rounding.Before;
    sorted.Unexpected.push_back(
        {rounding, keptNothing ? UnexpectedRounding::Kind::KeptNothing : UnexpectedRounding::Kind::KeptOtherwise});
  }
  for (const TimeField field : {TimeField::Created, TimeField::LastWrite, TimeField::LastAccess}) {
    if (counts[FieldIndex(field)] > 0) sorted.Predicted.push_back({field, counts[FieldIndex(field)]});
  }
  return sorted;
}

bool LearnKeeping(VolumeRules& rules, const Rounding& stored, const ToLocalTime& toLocal) {
  TimeKeeping& keeping = rules.For(stored.Field);
  if (!keeping.Kept || stored.Stored == stored.Before || stored.Stored == stored.Asked ||
      AsPredicted(keeping, stored, toLocal))
    return false;
  // The grids servers and drivers keep, finest first; the finest that explains the value is taken.
  for (const std::uint64_t granule : {kTenMs, 10 * kTenMs, kTicksPerSecond, kTwoSeconds}) {
    if (granule <= keeping.Granule || stored.Stored % granule != 0) continue;
    const std::uint64_t off = stored.Stored > stored.Asked ? stored.Stored - stored.Asked : stored.Asked - stored.Stored;
    if (off >= granule) continue;
    keeping = {.Kept = true, .Granule = granule, .First = keeping.First, .Last = keeping.Last};
    rules.Learned = true;
    return true;
  }
  return false;
}

std::wstring RoundingSummary(const RoundingGroup& group, const VolumeRules& rules, std::wstring_view thousandSep) {
  const TimeKeeping& keeping = rules.For(group.Field);
  std::wstring line = FormatGrouped(group.Entries, thousandSep) + (group.Entries == 1 ? L" entry: " : L" entries: ");
  line += FieldWords(group.Field);
  line += keeping.Kept ? L" kept to " + GranuleText(keeping.Granule) : std::wstring(L" not kept");
  if (rules.Learned) return line + (rules.Network ? L", as this share does" : L", as this volume does");
  return line + L", as this " + rules.FileSystem + L" volume does";
}

bool MayKeep(const Rounding& stored, const EntryInfo& after, const std::optional<VolumeRules>& rules,
             const ToLocalTime& toLocal) {
  if (!rules || stored.Stored == stored.Before || AsPredicted(rules->For(stored.Field), stored, toLocal)) return true;
  // A volume that keeps no creation or access time of its own shows the last write in its place.
  return stored.Field != TimeField::LastWrite && stored.Stored == after.LastWrite;
}

}  // namespace pw
