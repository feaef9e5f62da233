#pragma once
// The name of the file system that holds a path ("NTFS", "FAT32", "exFAT", or what a share's server
// reports), as the volume tells it: asked through a handle on the root, which names the volume the
// file system really mounted, or by the root's name where it cannot be opened.
#include <optional>
#include <string>

namespace pw {

// The root a path's volume is asked by: "C:\" for a drive path, "\\server\share\" for a share;
// empty for anything else.
std::wstring VolumeRootOf(const std::wstring& path);

// Nothing when the volume cannot be asked or names no file system: nothing is claimed about it.
std::optional<std::wstring> FileSystemNameOf(const std::wstring& root);

}  // namespace pw
