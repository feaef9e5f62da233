#pragma once
// What the volumes of a run keep of the times written, for the run's preview and report: each
// volume asked once for its file system, the rules of that file system, and the clock FAT is
// written on. Before writing, the preview rows say what each volume will keep and the entries a
// volume cannot hold are taken out of the run; after, what the volumes rounded as they do is told in
// one line per time, and anything else entry by entry.
#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "timetools/core/EditRecords.h"
#include "timetools/core/VolumeRules.h"
#include "timetools/core/BatchPlan.h"

namespace pw {

// "created", "modified", "accessed", as the list's columns name the times.
const wchar_t* TimeFieldName(TimeField field);

class RunVolumes {
public:
  RunVolumes();
  // The rules of the volume that holds `path`; nothing when its file system cannot be told.
  const VolumeRules* RulesFor(const std::wstring& path);
  const ToLocalTime& ToLocal() const { return toLocal_; }
  // Whether the volume may keep what it stored instead of the asked value (MayKeep). A value its
  // rules do not explain may teach them a coarser grid, which this and every later run (for as
  // long as the program runs) then expects of that volume.
  bool Accepts(const Rounding& stored, const EntryInfo& after);

  // Marks in each row the values its volume will keep where they differ from those asked; a row
  // whose asked time its volume cannot hold changes nothing, says why, and its path is returned
  // with the entries to leave out (they are listed with the report). True when any row says more
  // than it asks.
  bool Forecast(std::vector<PreviewRow>& rows, std::unordered_set<std::wstring>& leaveOut,
                std::vector<LeftAlone>& left);

  // The report's lines for what a run read back otherwise than asked: one summary line per time
  // that volumes rounded as they do, and a line for each other entry, at most `most` of those.
  struct ReportLines {
    std::vector<std::wstring> Summaries;
    std::vector<std::wstring> Entries;
    std::size_t Unexpected = 0;  // all entry lines, shown or not
  };
  ReportLines Sort(const std::vector<Rounding>& roundings, std::size_t most);

private:
  VolumeRules* Find(const std::wstring& path);

  std::unordered_map<std::wstring, std::optional<VolumeRules>> byRoot_;
  ToLocalTime toLocal_;
};

// Drops the entries whose paths are in `leaveOut`.
template <typename Entries>
void LeaveOut(Entries& entries, const std::unordered_set<std::wstring>& leaveOut) {
  if (leaveOut.empty()) return;
  std::erase_if(entries, [&leaveOut](const auto& entry) { return leaveOut.contains(entry.Path); });
}

}  // namespace pw
