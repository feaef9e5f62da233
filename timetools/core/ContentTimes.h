#pragma once
// "Times From Content": each entry's new time read from what it holds, worked out for the whole run
// before anything is written, so that the preview can show it and where it came from: the date a
// photo or video was taken, a date in the entry's name, a sidecar file beside it, or a folder's
// newest entry.
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
  Sidecar,       // a file beside it: a photo export's JSON, else an XMP sidecar
};

struct ContentRule {
  ContentSource Source = ContentSource::DateTaken;
  bool CountFolders = false;  // newest inside: the folders it holds count too, not only its files
  ReadingZone Zone;           // where a date without an offset is read
  TimeFields Fields;          // which times it sets (for a folder's newest entry: last-write is read)
};

// One entry of the run: its planned time (in Entry.Planned), or nothing and why; and what the
// preview and the report say of it, with the rule that made the date an instant ("EXIF, +02:00
// (exact)", "sidecar: a.jpg.json (UTC)", "newest inside: a.jpg", "no date taken").
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

// "Set the Clock Right": one reference entry's date taken and when it was really taken give the
// difference its camera's clock was off by; every entry whose date taken came from that camera
// (EXIF make, model and serial; every entry when the reference names none) gets its own date taken
// moved by that difference. Entries are listed camera by camera, each note naming the camera and
// the difference ("Canon EOS R5 #0123: +01:02:03 on EXIF (zone picked)").
struct ClockRule {
  std::size_t Reference = 0;     // its index among the entries
  std::uint64_t RealInstant = 0;  // when it was really taken (UTC file time)
  ReadingZone Zone;               // where a date taken without an offset is read
};
std::optional<std::vector<ContentPlan>> PlanClockRight(const std::vector<BatchEntry>& entries, const ClockRule& rule,
                                                       EditFileSystem& fs, const BatchProgress& progress);

// "+01:02:03", "-2 d 00:00:30", "+00:00:00.5".
std::wstring DifferenceText(std::int64_t ticks);

}  // namespace pw
