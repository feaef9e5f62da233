#pragma once
// What the system tells about one drive root.
#include <cstdint>
#include <string>

namespace pw {

struct DriveInfo {
  std::wstring TypeText;        // "Fixed", "CDROM", ...; empty for an unknown type code
  std::uint32_t SerialNumber = 0;  // 0 when the volume could not be read
  std::int64_t TotalSize = 0;   // bytes; -1 when the query failed
  std::int64_t FreeSpace = 0;   // bytes available to the caller; -1 when the query failed
  std::wstring VolumeLabel;
  std::wstring FileSystemName;
};

// Queries a root such as "D:\". A drive without a medium makes the queries fail quietly instead of
// asking the user; drive A is never queried for space or volume data (touching a floppy drive is
// slow and noisy), so its entry shows only its type.
DriveInfo GetDriveInfo(const std::wstring& root);

}  // namespace pw
