#include "timetools/core/ContentTimes.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <memory>
#include <numeric>
#include <unordered_map>

#include "common/core/PathRules.h"
#include "timetools/core/Sidecars.h"
#include "media/core/FoundDate.h"
#include "media/core/NameDate.h"
#include "media/core/Sidecar.h"
#include "media/core/TakenDate.h"

namespace pw {
namespace {

std::size_t Depth(const std::wstring& path) { return static_cast<std::size_t>(std::count(path.begin(), path.end(), L'\\')); }

// A date found, placed in the zone: the entry's time, or why it has none.
void Place(ContentPlan& plan, const std::optional<FoundDate>& found, std::wstring_view none, const ReadingZone& zone,
           std::wstring_view origin = {}) {
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
  plan.Note = DateNote(*found, origin);
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

// The date found, when one was placed.
std::optional<FoundDate> ReadTaken(ContentPlan& plan, const ContentRule& rule, EditFileSystem& fs, Holding& holding) {
  if (plan.Entry.IsFolder) {
    plan.Note = L"a folder holds no date taken";
    return std::nullopt;
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
    return std::nullopt;
  }
  std::optional<FoundDate> found = ReadTakenDate(*content);
  Place(plan, found, kNoDateTaken, rule.Zone);
  if (!plan.Entry.Planned) return std::nullopt;
  if (holding.Allowed && holding.Held < kMostFilesHeld) {
    plan.Held = content->KeepForTimes();
    holding.Held += plan.Held != nullptr;
  }
  return found;
}

std::wstring ListText(const std::vector<std::wstring>& names) {
  std::wstring text;
  for (const std::wstring& name : names) text += (text.empty() ? L"" : L", ") + name;
  return text;
}

// The folders' sidecars, each folder's names read once for the run.
class SidecarFolders {
public:
  explicit SidecarFolders(EditFileSystem& fs) : fs_(fs) {}

  // Nothing when the folder cannot be listed (`error` says why).
  const FolderSidecars* Of(const std::wstring& folder, FsError& error) {
    auto [at, added] = folders_.try_emplace(PathKey(folder));
    if (added) {
      std::vector<FolderChild> children;
      at->second.Error = fs_.ReadFolder(folder, children);
      std::vector<std::wstring> names;
      names.reserve(children.size());
      for (FolderChild& child : children)
        if (!(child.Info.Attributes & kDirectoryAttribute)) names.push_back(std::move(child.Name));
      if (at->second.Error == kFsOk) at->second.Sidecars = std::make_unique<FolderSidecars>(names);
    }
    error = at->second.Error;
    return at->second.Sidecars.get();
  }

private:
  struct Folder {
    FsError Error = kFsOk;
    std::unique_ptr<FolderSidecars> Sidecars;
  };
  EditFileSystem& fs_;
  std::unordered_map<std::wstring, Folder> folders_;
};

void ReadBeside(ContentPlan& plan, const ContentRule& rule, EditFileSystem& fs, SidecarFolders& folders) {
  if (plan.Entry.IsFolder) {
    plan.Note = L"a folder has no sidecar";
    return;
  }
  const std::size_t slash = plan.Entry.Path.rfind(L'\\');
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : plan.Entry.Path.substr(0, slash);
  const std::wstring name = LastComponent(plan.Entry.Path);
  FsError error = kFsOk;
  const FolderSidecars* sidecars = folders.Of(folder, error);
  if (!sidecars) {
    plan.Note = L"its folder could not be read";
    plan.Error = error;
    return;
  }
  if (IsSidecarName(name)) {
    const std::vector<std::wstring> owners = sidecars->Owners(name);
    plan.Note = owners.empty() ? L"a sidecar of no file here" : L"the sidecar of " + ListText(owners);
    return;
  }
  std::wstring refused, undated;
  std::vector<std::uint8_t> bytes;
  for (const SidecarFound& found : sidecars->For(name)) {
    if (!found.Claimants.empty()) {
      if (refused.empty()) refused = found.Name + L" could be the sidecar of " + ListText(found.Claimants) + L": not used";
      continue;
    }
    if (fs.ReadStart(JoinPath(folder, found.Name), kLargestSidecar, bytes) != kFsOk) {
      if (undated.empty()) undated = found.Name + L" could not be read";
      continue;
    }
    const std::optional<FoundDate> date = found.Kind == SidecarKind::ExportJson ? ReadExportJson(bytes) : ReadXmpDate(bytes);
    if (!date) {
      if (undated.empty()) undated = L"no date in " + found.Name;
      continue;
    }
    Place(plan, date, {}, rule.Zone, L"sidecar: " + found.Name);
    return;
  }
  plan.Note = !refused.empty() ? refused : !undated.empty() ? undated : L"no sidecar";
}

}  // namespace

std::optional<std::vector<ContentPlan>> PlanContentTimes(const std::vector<BatchEntry>& entries,
                                                         const ContentRule& rule, EditFileSystem& fs,
                                                         const BatchProgress& progress) {
  std::vector<ContentPlan> plans;
  plans.reserve(entries.size());
  for (const BatchEntry& entry : entries) plans.push_back({entry, {}, kFsOk, nullptr});
  Holding holding{plans};
  SidecarFolders sidecars(fs);
  const auto stopped = [&](std::size_t done) { return progress && !progress(done, plans.size()); };

  if (rule.Source != ContentSource::NewestInside) {
    for (std::size_t i = 0; i < plans.size(); ++i) {
      if (stopped(i)) return std::nullopt;
      ContentPlan& plan = plans[i];
      if (rule.Source == ContentSource::DateTaken) (void)ReadTaken(plan, rule, fs, holding);
      else if (rule.Source == ContentSource::Sidecar) ReadBeside(plan, rule, fs, sidecars);
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

std::wstring DifferenceText(std::int64_t ticks) {
  const wchar_t sign = ticks < 0 ? L'-' : L'+';
  const std::uint64_t size = ticks < 0 ? 0 - static_cast<std::uint64_t>(ticks) : static_cast<std::uint64_t>(ticks);
  const std::uint64_t seconds = size / kTicksPerSecond, days = seconds / 86'400;
  wchar_t text[64];
  if (days != 0)
    std::swprintf(text, std::size(text), L"%lc%llu d %02u:%02u:%02u", sign, static_cast<unsigned long long>(days),
                  static_cast<unsigned>(seconds / 3600 % 24), static_cast<unsigned>(seconds / 60 % 60),
                  static_cast<unsigned>(seconds % 60));
  else
    std::swprintf(text, std::size(text), L"%lc%02u:%02u:%02u", sign, static_cast<unsigned>(seconds / 3600),
                  static_cast<unsigned>(seconds / 60 % 60), static_cast<unsigned>(seconds % 60));
  std::wstring result = text;
  if (const std::uint64_t below = size % kTicksPerSecond; below != 0) {
    std::swprintf(text, std::size(text), L".%07llu", static_cast<unsigned long long>(below));
    std::wstring fraction = text;
    while (fraction.back() == L'0') fraction.pop_back();
    result += fraction;
  }
  return result;
}

std::optional<std::vector<ContentPlan>> PlanClockRight(const std::vector<BatchEntry>& entries, const ClockRule& rule,
                                                       EditFileSystem& fs, const BatchProgress& progress) {
  std::vector<ContentPlan> plans;
  plans.reserve(entries.size());
  for (const BatchEntry& entry : entries) plans.push_back({entry, {}, kFsOk, nullptr});
  Holding holding{plans};
  ContentRule reading;
  reading.Zone = rule.Zone;
  std::vector<std::optional<FoundDate>> found(plans.size());
  for (std::size_t i = 0; i < plans.size(); ++i) {
    if (progress && !progress(i, plans.size())) return std::nullopt;
    found[i] = ReadTaken(plans[i], reading, fs, holding);
  }
  if (progress) progress(plans.size(), plans.size());

  const std::size_t reference = rule.Reference < plans.size() ? rule.Reference : plans.size();
  const std::optional<std::uint64_t> shown =
      reference < plans.size() && plans[reference].Entry.Planned ? std::optional(plans[reference].Entry.Planned->LastWrite)
                                                                 : std::nullopt;
  const std::string camera = shown ? found[reference]->Camera : std::string();
  const std::int64_t difference = shown ? static_cast<std::int64_t>(rule.RealInstant - *shown) : 0;
  std::vector<std::string> cameraOf(plans.size());
  for (std::size_t i = 0; i < plans.size(); ++i) {
    ContentPlan& plan = plans[i];
    if (!plan.Entry.Planned) continue;  // its note says why
    const std::uint64_t taken = plan.Entry.Planned->LastWrite;
    cameraOf[i] = found[i]->Camera;
    plan.Entry.Planned.reset();
    plan.Held.reset();
    if (!shown) {
      plan.Note = L"the reference has no date taken";
      continue;
    }
    // Only the reference's camera had its clock off by this much; with no camera named, all did.
    if (!camera.empty() && cameraOf[i] != camera) {
      plan.Note = cameraOf[i].empty() ? L"no camera named: not the reference's"
                                      : L"another camera: " + std::wstring(cameraOf[i].begin(), cameraOf[i].end());
      continue;
    }
    const bool later = difference >= 0;
    const std::uint64_t size = later ? static_cast<std::uint64_t>(difference) : 0 - static_cast<std::uint64_t>(difference);
    if ((later && taken > kLastFileTime - size) || (!later && taken < size)) {
      plan.Note = L"the shifted time is outside the range of file times";
      continue;
    }
    plan.Entry.Planned = AtInstant(later ? taken + size : taken - size);
    const std::wstring name = cameraOf[i].empty() ? L"any camera" : std::wstring(cameraOf[i].begin(), cameraOf[i].end());
    plan.Note = name + L": " + DifferenceText(difference) + L" on " + DateNote(*found[i]);
  }
  // The preview lists the entries camera by camera.
  std::vector<std::size_t> order(plans.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return cameraOf[a] < cameraOf[b]; });
  std::vector<ContentPlan> sorted;
  sorted.reserve(plans.size());
  for (const std::size_t i : order) sorted.push_back(std::move(plans[i]));
  return sorted;
}

}  // namespace pw
