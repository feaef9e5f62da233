#include "timetools/core/BatchPlan.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>
#include <utility>

namespace pw {
namespace {

bool TimesChange(const TimeChange& t, const EntryInfo& known) {
  return (t.Created && *t.Created != known.Created) || (t.LastWrite && *t.LastWrite != known.LastWrite) ||
         (t.LastAccess && *t.LastAccess != known.LastAccess);
}

std::size_t Depth(const std::wstring& path) {
  return static_cast<std::size_t>(std::count(path.begin(), path.end(), L'\\'));
}

}  // namespace

BatchPlan PlanEntries(const std::vector<BatchEntry>& entries, ChangeRule rule) {
  BatchPlan plan;
  plan.Rule = std::move(rule);
  plan.Entries.reserve(entries.size());
  for (const BatchEntry& entry : entries) plan.Entries.emplace_back(entry);
  return plan;
}

std::vector<PreviewRow> PreviewRows(const BatchPlan& plan) {
  std::vector<PreviewRow> rows;
  for (const PlannedEntry& planned : plan.Entries) {
    if (planned.Leave) continue;
    const BatchEntry& entry = planned.Entry;
    const EntryChange change = plan.Rule(entry, entry.Known);
    if (change.OutOfRange) continue;
    const bool attributes = change.Attributes && *change.Attributes != SettableAttributeWord(entry.Known.Attributes);
    if (TimesChange(change.Times, entry.Known) || attributes)
      rows.push_back({entry.Path, entry.Known, change.Times, planned.Note, {}});
  }
  for (const PlannedEntry& planned : plan.Entries)
    if (planned.Leave) rows.push_back({planned.Entry.Path, planned.Entry.Known, {}, planned.Note, {}});
  return rows;
}

bool NeedsPreview(std::size_t entries, bool anyLeft, bool volumeSays, bool confirmed) {
  return anyLeft || volumeSays || (!confirmed && entries > 1);
}

WriteOrder OrderForWriting(BatchPlan& plan, const std::function<bool(const std::wstring&)>& leaveOut) {
  std::vector<PlannedEntry*> kept;
  kept.reserve(plan.Entries.size());
  for (PlannedEntry& planned : plan.Entries)
    if (!planned.Leave && !(leaveOut && leaveOut(planned.Entry.Path))) kept.push_back(&planned);
  // Depths counted once each: a run over a flat folder of many entries is not sorted at all.
  std::vector<std::size_t> depths(kept.size());
  std::transform(kept.begin(), kept.end(), depths.begin(), [](const PlannedEntry* p) { return Depth(p->Entry.Path); });
  std::vector<std::size_t> order(kept.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  if (std::adjacent_find(depths.begin(), depths.end(), std::not_equal_to<>()) != depths.end())
    std::stable_sort(order.begin(), order.end(), [&depths](std::size_t a, std::size_t b) { return depths[a] > depths[b]; });
  WriteOrder run;
  run.Entries.reserve(kept.size());
  const bool anyHeld = std::any_of(kept.begin(), kept.end(), [](const PlannedEntry* p) { return p->Held != nullptr; });
  if (anyHeld) run.Held.reserve(kept.size());
  for (const std::size_t i : order) {
    run.Entries.push_back(std::move(kept[i]->Entry));
    if (anyHeld) run.Held.push_back(std::move(kept[i]->Held));
  }
  return run;
}

std::vector<WrittenRow> MatchWrittenRows(std::wstring_view folder, const std::vector<WrittenEntry>& written,
                                         int firstRow, int rowCount,
                                         const std::function<std::wstring_view(int row)>& caption) {
  // The name of a written entry that lies right in the folder; empty for any other.
  const auto nameIn = [folder](std::wstring_view path) {
    if (path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0) return std::wstring_view();
    const std::wstring_view name = path.substr(folder.size());
    return name.find(L'\\') == std::wstring_view::npos ? name : std::wstring_view();
  };
  std::vector<WrittenRow> rows;
  // Entries are mostly written in the order of their rows, so one walk down both finds almost all
  // of them; what it misses is looked up by name.
  std::size_t next = 0;
  for (int row = firstRow; row < rowCount; ++row) {
    while (next < written.size() && nameIn(written[next].Path).empty()) ++next;
    if (next == written.size()) break;
    if (caption(row) == nameIn(written[next].Path)) rows.push_back({row, next++});
  }
  std::unordered_map<std::wstring_view, std::size_t> missed;
  for (; next < written.size(); ++next)
    if (const std::wstring_view name = nameIn(written[next].Path); !name.empty()) missed[name] = next;
  if (missed.empty()) return rows;
  std::vector<bool> taken(static_cast<std::size_t>(std::max(rowCount, 0)), false);
  for (const WrittenRow& found : rows) taken[static_cast<std::size_t>(found.Row)] = true;
  for (int row = firstRow; row < rowCount && !missed.empty(); ++row) {
    if (taken[static_cast<std::size_t>(row)]) continue;
    if (const auto found = missed.find(caption(row)); found != missed.end()) {
      rows.push_back({row, found->second});
      missed.erase(found);
    }
  }
  return rows;
}

}  // namespace pw
