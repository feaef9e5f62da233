#pragma once
// "Times From Content": each entry's new time read from what it holds, worked out for the whole run
// before anything is written, so that the preview can show it and where it came from: the date a
// photo or video was taken, a date in the entry's name, or a folder's newest entry.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "timetools/core/EditFileSystem.h"
#include "timetools/core/TimeBatch.h"
#include "media/core/WallClock.h"

namespace pw {

enum class ContentSource : std::uint8_t {
  DateTaken,     // the date a photo or video was taken, from its metadata
  NameDate,      // a date in the entry's name
  NewestInside,  // a folder: the newest last-write time of what it holds
};

struct ContentRule {
  ContentSource Source = ContentSource::DateTaken;
  bool CountFolders = false;  // newest inside: the folders it holds count too, not only its files
  ReadingZone Zone;           // where a date without an offset is read
  TimeFields Fields;          // which times it sets (for a folder's newest entry: last-write is read)
};

// One entry of the run: its planned time (in Entry.Planned), or nothing and why; and what the
// preview and the report say of it ("EXIF, +02:00", "newest inside: a.jpg", "no date taken").
struct ContentPlan {
  BatchEntry Entry;
  std::wstring Note;
  FsError Error = kFsOk;  // why it could not be read, when it could not
  // The file as it was read, kept open for its times (up to a number of files at once).
  std::unique_ptr<EntryTimeWriter> Held;
};
// How many files a run keeps open from their reading to their writing; the others are opened again.
inline constexpr std::size_t kMostFilesHeld = 16384;

// Works out every entry's time, reading each file once, in the order of the entries; a folder's
// newest entry counts the new time of an entry inside it that the run sets, so nested folders are
// worked out before the folders that hold them. Nothing when stopped.
std::optional<std::vector<ContentPlan>> PlanContentTimes(const std::vector<BatchEntry>& entries,
                                                         const ContentRule& rule, EditFileSystem& fs,
                                                         const BatchProgress& progress);

}  // namespace pw
