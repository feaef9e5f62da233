#include "browse/platform/DriveInfo.h"

#include <windows.h>

#include "browse/core/FileText.h"
#include "common/platform/VolumeName.h"
#include "ui/Scoped.h"

namespace pw {

DriveInfo GetDriveInfo(const std::wstring& root) {
  DriveInfo info;
  ui::ErrorModeGuard errorMode(SEM_FAILCRITICALERRORS);
  info.TypeText = DriveTypeText(GetDriveTypeW(root.c_str()));
  if (root == L"A:\\") return info;

  ULARGE_INTEGER freeToCaller{}, total{}, totalFree{};
  info.FreeSpace = GetDiskFreeSpaceExW(root.c_str(), &freeToCaller, nullptr, nullptr)
                       ? static_cast<std::int64_t>(freeToCaller.QuadPart)
                       : -1;
  info.TotalSize = GetDiskFreeSpaceExW(root.c_str(), nullptr, &total, &totalFree)
                       ? static_cast<std::int64_t>(total.QuadPart)
                       : -1;
  wchar_t label[256] = {0}, fileSystem[256] = {0};
  DWORD serial = 0, maxComponent = 0, flags = 0;
  if (GetVolumeInformationW(root.c_str(), label, 256, &serial, &maxComponent, &flags, fileSystem, 256)) {
    info.SerialNumber = serial;
    info.VolumeLabel = label;
  }
  // Named as the editor's time rules know the volume; blank when it cannot be told.
  info.FileSystemName = FileSystemNameOf(root).value_or(L"");
  return info;
}

}  // namespace pw
