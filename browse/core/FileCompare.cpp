#include "browse/core/FileCompare.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <string>
#include <unordered_map>

#include "common/core/CaselessText.h"
#include "browse/core/FileText.h"

namespace pw {
namespace {

constexpr std::wstring_view kFileSuffix = L" File";
constexpr std::wstring_view kFolderType = L"File Folder";

// The texts one comparison may need of an item; read only when the packed keys tie.
struct SortText {
  std::wstring_view Caption;
  std::wstring_view Head;     // type text or attribute letters
  std::int32_t HeadKey = -1;  // type texts: 0 folder, 1 + index of a shell type name, -1 other
  bool FileSuffix = false;    // " File" follows a bare extension in Head
  bool CaptionOnly = false;   // every entry of its rank shares Head: the captions decide
};

// What a sort moves around: small, so that most comparisons touch nothing else.
struct SortRecord {
  std::uint64_t Number = 0;  // size, file time in ms, or rank of the type text
  TextPrefix Prefix;         // of the part of the column's text that a tie has reached
  std::uint32_t Index = 0;
  std::uint8_t Rank = 0;     // group, special entry and kind, in list order
};

constexpr std::uint8_t kFirstOrdinaryRank = 4;  // ranks below belong to the parent/drives entries

// Ranks of the entries' places: parent/drives entries, other bracketed captions, the rest; within
// the first group the drives entry before the parent entry; then folders before files when
// ascending, after them when descending. None of this is reversed by the direction.
std::uint8_t PlaceRank(const FileItem& item, bool ascending) {
  unsigned group = 2, special = 0;
  if (item.Kind == ItemKind::Drives || item.Kind == ItemKind::Parent) {
    group = 0;
    special = item.Kind == ItemKind::Drives ? 0 : 1;
  } else if (IsBracketed(item)) {
    group = 1;
  }
  const bool folder = item.Kind != ItemKind::File;
  const unsigned kindBit = folder == ascending ? 0 : 1;
  return static_cast<std::uint8_t>(group * 4 + special * 2 + kindBit);
}

// The type text as FileTypeText would give it, as pieces of the caption: the caseless
// comparison folds a-z just as the type text upper-cases them.
void TypePieces(const FileItem& item, const FileTextContext& ctx, SortText& text) {
  if (item.Kind == ItemKind::Drives) return;
  if (item.TypeIndex >= 0 && static_cast<std::size_t>(item.TypeIndex) < ctx.TypeNames.size() &&
      !ctx.TypeNames[static_cast<std::size_t>(item.TypeIndex)].empty()) {
    text.Head = ctx.TypeNames[static_cast<std::size_t>(item.TypeIndex)];
    text.HeadKey = item.TypeIndex + 1;
    return;
  }
  if (item.Kind != ItemKind::File || (item.Attributes & AttrDirectory)) {
    text.Head = kFolderType;
    text.HeadKey = 0;
    return;
  }
  const std::wstring_view name = item.Caption;
  const std::size_t separator = name.find_last_of(L"\\:");
  const std::size_t nameStart = separator == std::wstring_view::npos ? 0 : separator + 1;
  const std::size_t dot = name.rfind(L'.');
  if (dot != std::wstring_view::npos && dot >= nameStart) {
    if (dot + 1 == name.size()) return;  // a lone trailing dot: no type text at all
    text.Head = name.substr(dot + 1);
  }
  text.FileSuffix = true;
}

// The text compared for the column once place ranks are equal (so the kind letter that leads
// the Name and Attributes texts is the same on both sides): the caption, type text + caption, or
// attribute letters + caption.
JoinedText ColumnText(const SortText& text, int sortColumn) {
  if (text.CaptionOnly) return {{text.Caption, {}, {}}};
  switch (sortColumn) {
    case ColType:
      return {{text.Head, text.FileSuffix ? kFileSuffix : std::wstring_view(), text.Caption}};
    case ColAttributes: return {{text.Head, text.Caption, {}}};
    default: return {{text.Caption, {}, {}}};
  }
}

SortText MakeText(const FileItem& item, int sortColumn, const FileTextContext& ctx) {
  SortText text;
  text.Caption = item.Caption;
  if (sortColumn == ColType) {
    TypePieces(item, ctx, text);
  } else if (sortColumn == ColAttributes && item.Kind != ItemKind::Drives) {
    text.Head = AttributeLetters(item.Attributes);
  }
  return text;
}

SortRecord MakeRecord(const FileItem& item, int sortColumn, bool ascending) {
  SortRecord record;
  record.Rank = PlaceRank(item, ascending);
  switch (sortColumn) {
    case ColSize: record.Number = item.Kind == ItemKind::File ? item.Size : 0; break;
    case ColCreated: record.Number = item.Created / FileTimeTicksPerMs; break;
    case ColModified: record.Number = item.Modified / FileTimeTicksPerMs; break;
    case ColAccessed: record.Number = item.Accessed / FileTimeTicksPerMs; break;
    default: break;
  }
  return record;
}

// Type texts come first in the Type column's text, so entries can be ranked by them alone,
// except where one type text begins another ("Text" and "Text Document", or the empty type text
// of a name ending in a dot, which begins them all): there the caption's letters meet the longer
// text's. Type texts are therefore grouped under the shortest text that begins them; groups
// compare by rank, and within a group that holds one text only the captions remain to compare.
void RankTypes(std::vector<SortText>& texts, std::vector<SortRecord>& records) {
  std::unordered_map<std::wstring, std::uint32_t> ids;
  std::vector<std::int64_t> idOfKey;  // by HeadKey, -1 = not seen yet
  std::vector<std::uint32_t> idOf(texts.size());
  std::wstring folded;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    // The parent and drives entries never meet another entry of their rank here; the drives
    // entry's empty type text would otherwise begin, and so join, every group.
    if (records[i].Rank < kFirstOrdinaryRank) continue;
    const SortText& t = texts[i];
    const auto key = static_cast<std::size_t>(t.HeadKey);
    if (t.HeadKey >= 0 && key < idOfKey.size() && idOfKey[key] >= 0) {
      idOf[i] = static_cast<std::uint32_t>(idOfKey[key]);
      continue;
    }
    folded.clear();
    for (const wchar_t c : t.Head) folded += static_cast<wchar_t>(FoldAscii(c));
    if (t.FileSuffix) folded += kFileSuffix;
    idOf[i] = ids.try_emplace(folded, static_cast<std::uint32_t>(ids.size())).first->second;
    if (t.HeadKey >= 0) {
      if (key >= idOfKey.size()) idOfKey.resize(key + 1, -1);
      idOfKey[key] = idOf[i];
    }
  }
  std::vector<const std::wstring*> distinct(ids.size());
  for (const auto& [text, id] : ids) distinct[id] = &text;
  std::vector<std::uint32_t> order(distinct.size());
  for (std::uint32_t id = 0; id < order.size(); ++id) order[id] = id;
  std::sort(order.begin(), order.end(), [&distinct](std::uint32_t x, std::uint32_t y) {
    return CompareJoined({{*distinct[x], {}, {}}}, {{*distinct[y], {}, {}}}) < 0;
  });
  // Texts that begin with a given text follow it directly in sorted order.
  std::vector<std::uint32_t> rankOf(distinct.size());
  std::vector<std::uint32_t> membersOfRank;
  const std::wstring* root = nullptr;
  for (const std::uint32_t id : order) {
    const std::wstring& text = *distinct[id];
    if (root == nullptr || text.compare(0, root->size(), *root) != 0) {
      root = &text;
      membersOfRank.push_back(0);
    }
    rankOf[id] = static_cast<std::uint32_t>(membersOfRank.size() - 1);
    ++membersOfRank.back();
  }
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (records[i].Rank < kFirstOrdinaryRank) {
      texts[i].CaptionOnly = false;
      continue;
    }
    const std::uint32_t rank = rankOf[idOf[i]];
    records[i].Number = rank;
    texts[i].CaptionOnly = membersOfRank[rank] == 1;
  }
}

// Sorts the records by rank, number and the prefix of their text, then orders each run of ties
// by the next sixteen units of their texts, and so on until the texts differ or end: each caption
// is read a few units at a time and only while it ties, and no comparison reaches into the heap.
// TextOf(index) gives the texts of the item of that index.
template <typename TextOf>
class RecordSorter {
public:
  RecordSorter(TextOf textOf, int sortColumn, bool ascending)
      : texts_(textOf), column_(sortColumn), ascending_(ascending) {}

  // The records hold the prefixes of their whole texts.
  void Sort(std::vector<SortRecord>& records) const {
    std::sort(records.begin(), records.end(), [this](const SortRecord& a, const SortRecord& b) { return Before(a, b); });
    OrderTiedRuns(records);
  }

  // The order of records that hold the prefixes of their whole texts, until the prefixes tie.
  bool Before(const SortRecord& a, const SortRecord& b) const {
    if (a.Rank != b.Rank) return a.Rank < b.Rank;
    if (a.Number != b.Number) return (a.Number < b.Number) == ascending_;
    return ByPrefix(a, b);
  }

  // Records in the order of Before: those that tie on their prefixes are ordered by the rest of
  // their texts.
  void OrderTiedRuns(std::vector<SortRecord>& records) const { OrderRuns(records.begin(), records.end(), 0); }

private:
  using Iter = std::vector<SortRecord>::iterator;

  bool ByPrefix(const SortRecord& a, const SortRecord& b) const {
    if (const int c = ComparePrefix(a.Prefix, b.Prefix); c != 0) return (c < 0) == ascending_;
    return a.Index < b.Index;
  }

  // [first, last) tie on all units before `offset` and are in their former order.
  void OrderTies(Iter first, Iter last, std::size_t offset) const {
    for (Iter it = first; it != last; ++it) {
      it->Prefix = MakePrefix(ColumnText(texts_(it->Index), column_), offset);
    }
    std::sort(first, last, [this](const SortRecord& a, const SortRecord& b) {
      return ByPrefix(a, b);
    });
    OrderRuns(first, last, offset);
  }

  // [first, last) is sorted by rank, number and the prefix of the units from `offset`; orders
  // the runs that tie on all of them.
  void OrderRuns(Iter first, Iter last, std::size_t offset) const {
    for (Iter run = first; run != last;) {
      Iter end = run + 1;
      while (end != last && end->Rank == run->Rank && end->Number == run->Number &&
             ComparePrefix(end->Prefix, run->Prefix) == 0) {
        ++end;
      }
      if (end - run > 1 && !run->Prefix.Ended()) {  // ended: equal texts keep their order
        if (run->Prefix.Exact()) {
          OrderTies(run, end, offset + TextPrefix::Units);
        } else {
          OrderByWholeText(run, end, offset);
        }
      }
      run = end;
    }
  }

  // For units the packed prefix cannot hold.
  void OrderByWholeText(Iter first, Iter last, std::size_t offset) const {
    std::sort(first, last, [this, offset](const SortRecord& a, const SortRecord& b) {
      const int c = CompareJoined(ColumnText(texts_(a.Index), column_),
                                  ColumnText(texts_(b.Index), column_), offset);
      if (c != 0) return (c < 0) == ascending_;
      return a.Index < b.Index;
    });
  }

  TextOf texts_;
  int column_;
  bool ascending_;
};

// Moves every item to its place along the cycles of the permutation, without a second array
// of items. order[i] is the index of the item that belongs at i.
void ApplyOrder(std::vector<FileItem>& items, std::vector<std::uint32_t>& order) {
  for (std::uint32_t start = 0; start < order.size(); ++start) {
    if (order[start] == start) continue;
    FileItem held = std::move(items[start]);
    std::uint32_t at = start;
    for (;;) {
      const std::uint32_t from = order[at];
      order[at] = at;
      if (from == start) {
        items[at] = std::move(held);
        break;
      }
      items[at] = std::move(items[from]);
      at = from;
    }
  }
}

}  // namespace

int CompareFileItems(const FileItem& a, const FileItem& b, int sortColumn, bool ascending,
                     const FileTextContext& ctx) {
  const SortRecord ra = MakeRecord(a, sortColumn, ascending);
  const SortRecord rb = MakeRecord(b, sortColumn, ascending);
  if (ra.Rank != rb.Rank) return ra.Rank < rb.Rank ? -1 : 1;
  int result = 0;
  if (ra.Number != rb.Number) {
    result = ra.Number < rb.Number ? -1 : 1;
  } else {
    result = CompareJoined(ColumnText(MakeText(a, sortColumn, ctx), sortColumn),
                           ColumnText(MakeText(b, sortColumn, ctx), sortColumn));
  }
  return ascending ? result : -result;
}

std::vector<std::uint32_t> SortFileItems(std::vector<FileItem>& items, int sortColumn, bool ascending,
                                         const FileTextContext& ctx) {
  std::vector<SortText> texts;
  std::vector<SortRecord> records;
  texts.reserve(items.size());
  records.reserve(items.size());
  // The prefix is read together with the rest of the item, in the items' order: one trip to each
  // caption, wherever the heap put it. A type text is at first taken to be the only one of its
  // group, the common case; the few others are read again below.
  for (std::size_t i = 0; i < items.size(); ++i) {
    SortText& text = texts.emplace_back(MakeText(items[i], sortColumn, ctx));
    SortRecord& record = records.emplace_back(MakeRecord(items[i], sortColumn, ascending));
    record.Index = static_cast<std::uint32_t>(i);
    text.CaptionOnly = sortColumn == ColType;
    record.Prefix = MakePrefix(ColumnText(text, sortColumn));
  }
  if (sortColumn == ColType) {
    RankTypes(texts, records);
    for (SortRecord& record : records) {
      const SortText& text = texts[record.Index];
      if (!text.CaptionOnly) record.Prefix = MakePrefix(ColumnText(text, sortColumn));
    }
  }
  const auto textOf = [&texts](std::uint32_t index) -> const SortText& { return texts[index]; };
  RecordSorter<decltype(textOf)>(textOf, sortColumn, ascending).Sort(records);

  std::vector<std::uint32_t> order(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) order[i] = records[i].Index;
  records = std::vector<SortRecord>();
  texts = std::vector<SortText>();
  std::vector<std::uint32_t> cycles = order;
  ApplyOrder(items, cycles);
  return order;
}

// The sorted runs, each at least twice as long as the next, so that every record is merged a few
// times only; shared with the thread that sorts them, which may outlive a stopped listing.
struct RunningSort::Runs {
  std::mutex Lock;
  std::condition_variable Woken;
  // Under the lock: runs added and not sorted yet, whether no more will come, whether the thread
  // that sorts has ended.
  std::vector<SortRecord> Queued;
  bool Ending = false;
  bool Ended = false;
  std::vector<std::vector<SortRecord>> Sorted;  // the sorting thread's alone until it has ended

  // Merges the two shortest runs, the last two.
  template <typename Before>
  void MergeLast(Before before) {
    std::vector<SortRecord>& into = Sorted[Sorted.size() - 2];
    std::vector<SortRecord> merged(into.size() + Sorted.back().size());
    std::merge(into.begin(), into.end(), Sorted.back().begin(), Sorted.back().end(), merged.begin(), before);
    Sorted.pop_back();
    Sorted.back() = std::move(merged);
  }

  // The sorting thread: sorts what is queued, merging runs of like length, until the end.
  void SortAsAdded(int sortColumn, bool ascending) {
    const auto none = [](std::uint32_t) { return SortText(); };  // the prefixes' order only, here
    const RecordSorter<decltype(none)> sorter(none, sortColumn, ascending);
    const auto before = [&sorter](const SortRecord& a, const SortRecord& b) { return sorter.Before(a, b); };
    for (;;) {
      std::vector<SortRecord> run;
      {
        std::unique_lock<std::mutex> hold(Lock);
        Woken.wait(hold, [this] { return Ending || !Queued.empty(); });
        if (Queued.empty()) {
          Ended = true;
          Woken.notify_all();
          return;
        }
        run.swap(Queued);
      }
      std::sort(run.begin(), run.end(), before);
      Sorted.push_back(std::move(run));
      while (Sorted.size() >= 2 && Sorted.back().size() * 2 >= Sorted[Sorted.size() - 2].size()) MergeLast(before);
    }
  }
};

namespace {

// What the running sort orders by: the kind, the caption and the values of an item.
SortText CaptionText(const FileItem& item) {
  SortText text;
  text.Caption = item.Caption;
  return text;
}

// The records of `count` items, the first of them numbered `first`.
std::vector<SortRecord> CaptionRecords(const FileItem* items, std::uint32_t first, std::size_t count, int sortColumn,
                                       bool ascending) {
  std::vector<SortRecord> run;
  run.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    SortRecord& record = run.emplace_back(MakeRecord(items[i], sortColumn, ascending));
    record.Index = first + static_cast<std::uint32_t>(i);
    record.Prefix = MakePrefix(ColumnText(CaptionText(items[i]), sortColumn));
  }
  return run;
}

}  // namespace

bool RunningSort::Serves(int sortColumn) { return sortColumn != ColType && sortColumn != ColAttributes; }

RunningSort::RunningSort(int sortColumn, bool ascending, Runner runner)
    : column_(sortColumn), ascending_(ascending), runner_(std::move(runner)), runs_(std::make_shared<Runs>()) {}

RunningSort::~RunningSort() {
  {
    std::lock_guard<std::mutex> hold(runs_->Lock);
    runs_->Ending = true;
    runs_->Queued.clear();
  }
  runs_->Woken.notify_all();
}

void RunningSort::Add(const FileItem* items, std::uint32_t first, std::size_t count) {
  if (count == 0) return;
  const std::vector<SortRecord> run = CaptionRecords(items, first, count, column_, ascending_);
  added_ = first + static_cast<std::uint32_t>(count);
  {
    std::lock_guard<std::mutex> hold(runs_->Lock);
    runs_->Queued.insert(runs_->Queued.end(), run.begin(), run.end());
  }
  runs_->Woken.notify_all();
  if (started_) return;
  started_ = true;
  std::function<void()> sort = [runs = runs_, column = column_, ascending = ascending_] {
    runs->SortAsAdded(column, ascending);
  };
  if (runner_) runner_(std::move(sort));
  else std::thread(std::move(sort)).detach();
}

std::vector<std::uint32_t> RunningSort::Finish(std::vector<FileItem>& items) {
  const auto textOf = [&items](std::uint32_t index) { return CaptionText(items[index]); };
  const RecordSorter<decltype(textOf)> sorter(textOf, column_, ascending_);
  const auto before = [&sorter](const SortRecord& a, const SortRecord& b) { return sorter.Before(a, b); };
  std::vector<std::vector<SortRecord>>& sorted = runs_->Sorted;
  if (!started_) {
    // Nothing was added while the folder was read: the whole listing is one run, sorted here.
    std::vector<SortRecord> run = CaptionRecords(items.data(), 0, static_cast<std::uint32_t>(items.size()), column_,
                                                 ascending_);
    std::sort(run.begin(), run.end(), before);
    sorted.push_back(std::move(run));
  } else {
    if (added_ < items.size()) Add(items.data() + added_, added_, items.size() - added_);
    std::unique_lock<std::mutex> hold(runs_->Lock);
    runs_->Ending = true;
    runs_->Woken.notify_all();
    runs_->Woken.wait(hold, [this] { return runs_->Ended; });
  }
  // The shortest runs first: each record is moved as few times as it can be.
  while (sorted.size() > 1) runs_->MergeLast(before);
  std::vector<SortRecord> records;
  if (!sorted.empty()) records = std::move(sorted.back());
  sorted.clear();
  sorter.OrderTiedRuns(records);

  std::vector<std::uint32_t> order(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) order[i] = records[i].Index;
  records = std::vector<SortRecord>();
  // Gathered into a list of just their number, which the listing keeps from now on.
  std::vector<FileItem> sortedItems;
  sortedItems.reserve(items.size());
  for (const std::uint32_t from : order) sortedItems.push_back(items[from]);
  items.swap(sortedItems);
  return order;
}

}  // namespace pw
