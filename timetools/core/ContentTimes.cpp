#include "timetools/core/ContentTimes.h"

#include <algorithm>
#include <memory>
#include <numeric>
#include <unordered_map>

#include "common/core/PathRules.h"
#include "media/core/FoundDate.h"
#include "media/core/NameDate.h"
#include "media/core/TakenDate.h"

namespace pw {
namespace {

std::size_t Depth(const std::wstring& path) { return static_cast<std::size_t>(std::count(path.begin(), path.end(), L'\\')); }

// A date found, placed in the zone: the entry's time, or why it has none.
void Place(ContentPlan& plan, const std::optional<FoundDate>& found, std::wstring_view none, const ReadingZone& zone) {
  if (!found) {
    plan.Note = none;
    return;
  }
  const ZonedTime placed = PlaceDate(*found, zone);
  if (!placed.Instant) {
    plan.Note = placed.Problem;
    return;
  }
  // File time 0 is no time at all: a write takes it as "leave this time as it is".
  if (*placed.Instant == 0) {
    plan.Note = L"outside the range of file times";
    return;
  }
  plan.Entry.Planned = AtInstant(*placed.Instant);
  plan.Note = OriginText(*found);
  if (placed.Repeated) plan.Note += L"; the hour came twice: the first is taken";
}

// The files kept open from their reading to their writing.
struct Holding {
  std::vector<ContentPlan>& Plans;
  std::size_t Held = 0;
  bool Allowed = true;

  // The system allows no more open files: those kept are let go (opened again to be written), and
  // no more are kept.
  void LetGo() {
    for (ContentPlan& plan : Plans) plan.Held.reset();
    Held = 0;
    Allowed = false;
  }
};

void ReadTaken(ContentPlan& plan, const ContentRule& rule, EditFileSystem& fs, Holding& holding) {
  if (plan.Entry.IsFolder) {
    plan.Note = L"a folder holds no date taken";
    return;
  }
  std::unique_ptr<ContentHandle> content;
  FsError error = fs.OpenContent(plan.Entry.Path, content);
  if (error == kFsTooManyOpenFiles && holding.Allowed) {
    holding.LetGo();
    error = fs.OpenContent(plan.Entry.Path, content);
  }
  if (error != kFsOk) {
    plan.Note = L"could not be read";
    plan.Error = error;
    return;
  }
  Place(plan, ReadTakenDate(*content), kNoDateTaken, rule.Zone);
  if (plan.Entry.Planned && holding.Allowed && holding.Held < kMostFilesHeld) {
    plan.Held = content->KeepForTimes();
    holding.Held += plan.Held != nullptr;
  }
}

}  // namespace

std::optional<std::vector<ContentPlan>> PlanContentTimes(const std::vector<BatchEntry>& entries,
                                                         const ContentRule& rule, EditFileSystem& fs,
                                                         const BatchProgress& progress) {
  std::vector<ContentPlan> plans;
  plans.reserve(entries.size());
  for (const BatchEntry& entry : entries) plans.push_back({entry, {}, kFsOk, nullptr});
  Holding holding{plans};
  const auto stopped = [&](std::size_t done) { return progress && !progress(done, plans.size()); };

  if (rule.Source != ContentSource::NewestInside) {
    for (std::size_t i = 0; i < plans.size(); ++i) {
      if (stopped(i)) return std::nullopt;
      ContentPlan& plan = plans[i];
      if (rule.Source == ContentSource::DateTaken) ReadTaken(plan, rule, fs, holding);
      else Place(plan, NameDate(LastComponent(plan.Entry.Path)), kNoDateInName, rule.Zone);
    }
    if (progress) progress(plans.size(), plans.size());
    return plans;
  }

  // The deepest folders first: a folder's newest entry may be a folder of the run, whose new time
  // then counts.
  std::unordered_map<std::wstring, std::size_t> planOf;
  std::vector<std::size_t> folders;
  for (std::size_t i = 0; i < plans.size(); ++i) {
    planOf.emplace(PathKey(plans[i].Entry.Path), i);
    if (plans[i].Entry.IsFolder) folders.push_back(i);
    else plans[i].Note = L"not a folder";
  }
  std::stable_sort(folders.begin(), folders.end(), [&plans](std::size_t a, std::size_t b) {
    return Depth(plans[a].Entry.Path) > Depth(plans[b].Entry.Path);
  });
  std::size_t done = plans.size() - folders.size();
  for (const std::size_t index : folders) {
    if (stopped(done++)) return std::nullopt;
    ContentPlan& plan = plans[index];
    std::vector<FolderChild> children;
    if (const FsError error = fs.ReadFolder(plan.Entry.Path, children); error != kFsOk) {
      plan.Note = L"its entries could not be read";
      plan.Error = error;
      continue;
    }
    std::uint64_t newest = 0;
    const std::wstring* newestName = nullptr;
    for (const FolderChild& child : children) {
      if ((child.Info.Attributes & kDirectoryAttribute) && !rule.CountFolders) continue;
      std::uint64_t written = child.Info.LastWrite;
      if (const auto inRun = planOf.find(PathKey(JoinPath(plan.Entry.Path, child.Name)));
          inRun != planOf.end() && rule.Fields.LastWrite && plans[inRun->second].Entry.Planned)
        written = plans[inRun->second].Entry.Planned->LastWrite;
      if (written > newest) {
        newest = written;
        newestName = &child.Name;
      }
    }
    if (!newestName) {
      plan.Note = rule.CountFolders ? L"nothing inside" : L"no file inside";
      continue;
    }
    plan.Entry.Planned = AtInstant(newest);
    plan.Note = L"newest inside: " + *newestName;
  }
  if (progress) progress(plans.size(), plans.size());
  return plans;
}

}  // namespace pw
