#include "timetools/VolumeOutlook.h"

#include <windows.h>

#include <mutex>
#include <span>

#include "common/platform/LocalTime.h"
#include "common/platform/VolumeName.h"
#include "common/core/DateFormat.h"
#include "common/core/NumberText.h"

namespace pw {

const wchar_t* TimeFieldName(TimeField field) {
  switch (field) {
    case TimeField::Created: return L"created";
    case TimeField::LastWrite: return L"modified";
    case TimeField::LastAccess: return L"accessed";
  }
  return L"";
}

namespace {

// What runs learned of volumes, by root, for as long as the program runs. Runs check on their
// worker, one at a time; the lock only keeps a report from reading while another run learns.
struct LearnedVolumes {
  std::mutex Lock;
  std::unordered_map<std::wstring, VolumeRules> ByRoot;
};
LearnedVolumes& Learned() {
  static LearnedVolumes learned;
  return learned;
}

bool IsNetworkRoot(const std::wstring& root) {
  return root.starts_with(L"\\\\") || GetDriveTypeW(root.c_str()) == DRIVE_REMOTE;
}

}  // namespace

RunVolumes::RunVolumes() {
  // FAT is written on the local clock with the offset in force now, whatever the stamp's date.
  toLocal_ = [](std::uint64_t utc) -> std::optional<std::uint64_t> {
    FILETIME local{};
    const FILETIME given = ToFileTime(utc);
    if (!FileTimeToLocalFileTime(&given, &local)) return std::nullopt;
    return ToUInt64(local);
  };
}

const VolumeRules* RunVolumes::RulesFor(const std::wstring& path) { return Find(path); }

VolumeRules* RunVolumes::Find(const std::wstring& path) {
  std::wstring root = VolumeRootOf(path);
  auto at = byRoot_.find(root);
  if (at == byRoot_.end()) {
    std::optional<VolumeRules> rules;
    {
      std::lock_guard<std::mutex> hold(Learned().Lock);
      if (const auto learned = Learned().ByRoot.find(root); learned != Learned().ByRoot.end()) rules = learned->second;
    }
    if (!rules) {
      const std::optional<std::wstring> name = FileSystemNameOf(root);
      if (name) rules = RulesForFileSystem(*name);
      if (rules) rules->Network = IsNetworkRoot(root);
    }
    at = byRoot_.emplace(std::move(root), std::move(rules)).first;
  }
  return at->second ? &*at->second : nullptr;
}

bool RunVolumes::Accepts(const Rounding& stored, const EntryInfo& after) {
  VolumeRules* rules = Find(stored.Path);
  if (!rules) return true;
  if (LearnKeeping(*rules, stored, toLocal_)) {
    std::lock_guard<std::mutex> hold(Learned().Lock);
    Learned().ByRoot.insert_or_assign(VolumeRootOf(stored.Path), *rules);
  }
  return MayKeep(stored, after, *rules, toLocal_);
}

bool RunVolumes::Forecast(std::vector<PreviewRow>& rows, std::unordered_set<std::wstring>& leaveOut,
                          std::vector<LeftAlone>& left) {
  bool said = false;
  const DateFormatter date = UserDateFormat();
  for (PreviewRow& row : rows) {
    if (!row.New.Any()) continue;
    const VolumeRules* rules = RulesFor(row.Path);
    if (!rules) continue;
    const ChangeForecast forecast = ForecastChange(row.New, row.Old, *rules, toLocal_);
    if (!forecast.Differs()) continue;
    said = true;
    if (forecast.CannotHold) {
      row.Note = L"this " + rules->FileSystem + L" volume cannot hold the " + TimeFieldName(*forecast.CannotHold) +
                 L" time asked (" + ExactStampText(forecast.Refused, date) + L")";
      row.New = {};
      leaveOut.insert(row.Path);
      left.push_back({row.Path, row.Note, 0});
    } else {
      row.Kept = forecast.Kept;
    }
  }
  return said;
}

RunVolumes::ReportLines RunVolumes::Sort(const std::vector<Rounding>& roundings, std::size_t most) {
  // By volume, in the order the run reached them.
  std::vector<std::wstring> roots;
  std::unordered_map<std::wstring, std::vector<Rounding>> byRoot;
  for (const Rounding& rounding : roundings) {
    std::wstring root = VolumeRootOf(rounding.Path);
    auto& group = byRoot[root];
    if (group.empty()) roots.push_back(root);
    group.push_back(rounding);
  }
  ReportLines lines;
  const std::wstring separator = LocaleString(LOCALE_STHOUSAND, L",");
  const DateFormatter date = UserDateFormat();
  for (const std::wstring& root : roots) {
    const std::vector<Rounding>& group = byRoot[root];
    const VolumeRules* rules = RulesFor(group.front().Path);
    const std::optional<VolumeRules> known = rules ? std::optional(*rules) : std::nullopt;
    const SortedRoundings sorted = SortRoundings(std::span(group), known, toLocal_);
    for (const RoundingGroup& predicted : sorted.Predicted)
      lines.Summaries.push_back(RoundingSummary(predicted, *rules, separator));
    lines.Unexpected += sorted.Unexpected.size();
    for (const UnexpectedRounding& other : sorted.Unexpected) {
      if (lines.Entries.size() == most) break;
      const Rounding& r = other.What;
      std::wstring line = r.Path + L": " + TimeFieldName(r.Field);
      if (other.Why == UnexpectedRounding::Kind::KeptNothing) {
        line += L" not written: the volume answered done but still holds " + ExactStampText(r.Stored, date);
      } else {
        line += L" stored as " + ExactStampText(r.Stored, date);
      }
      lines.Entries.push_back(line + L", asked " + ExactStampText(r.Asked, date));
    }
  }
  return lines;
}

}  // namespace pw
