#include "timetools/core/RelativePath.h"

#include "common/core/CaselessText.h"

namespace pw {
namespace {

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

// The characters that no Windows name holds; ':' and '\' are dealt with on their own.
bool IsForbidden(wchar_t c) {
  return static_cast<unsigned>(c) < 32 || c == L'<' || c == L'>' || c == L'"' || c == L'|' || c == L'?' || c == L'*' ||
         c == L'/';
}

std::wstring Shown(wchar_t c) {
  if (static_cast<unsigned>(c) >= 32) return std::wstring(1, c);
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  return std::wstring(L"U+00") + kHex[c >> 4] + kHex[c & 0xF];
}

// CON, NUL.txt, com1 , LPT¹: Windows opens the device, whatever folder the name is in.
bool IsDeviceName(std::wstring_view name) {
  std::wstring_view stem = name.substr(0, name.find(L'.'));
  while (!stem.empty() && stem.back() == L' ') stem.remove_suffix(1);
  for (const std::wstring_view device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"}) {
    if (CaselessCompare(stem, device) == 0) return true;
  }
  if (stem.size() != 4) return false;
  const wchar_t digit = stem[3];
  const bool numbered = (digit >= L'0' && digit <= L'9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
  return numbered && (CaselessCompare(stem.substr(0, 3), L"COM") == 0 || CaselessCompare(stem.substr(0, 3), L"LPT") == 0);
}

std::optional<std::wstring> NameFault(std::wstring_view name, bool last) {
  if (name.empty()) return last ? L"the path ends with \\" : L"the path has an empty name (\\\\)";
  if (name == L"..") return L"the path leaves the folder (..)";
  if (name == L".") return L"the path has a . name";
  if (name.find_first_not_of(L". ") == std::wstring_view::npos)
    return L"the path has a name of only dots and spaces (" + std::wstring(name) + L")";
  // Windows drops a trailing dot or space of a name: "sub.\\x" would open "sub\\x", another
  // spelling of one entry, or another entry altogether.
  if (name.back() == L'.' || name.back() == L' ')
    return L"the path has a name that ends in a dot or a space (" + std::wstring(name) + L")";
  if (IsDeviceName(name)) return L"the path names a device (" + std::wstring(name) + L")";
  return std::nullopt;
}

}  // namespace

std::optional<std::wstring> RelativePathFault(std::wstring_view path) {
  if (path.empty()) return L"the path is empty";
  if (path.size() > kLongestPath) return L"the path is longer than 32,767 characters";
  if (path.starts_with(L"\\\\")) return L"the path is a network or device path (\\\\)";
  if (path.front() == L'\\') return L"the path is absolute (it begins with \\)";
  if (path.size() >= 2 && path[1] == L':' && IsAsciiLetter(path[0]))
    return L"the path names a drive (" + std::wstring(path.substr(0, 2)) + L")";
  for (const wchar_t c : path) {
    if (c == L':') return L"the path names a stream (:)";
    if (IsForbidden(c)) return L"the path holds a character Windows does not allow in names (" + Shown(c) + L")";
  }
  for (std::size_t begin = 0;;) {
    const std::size_t end = path.find(L'\\', begin);
    const bool last = end == std::wstring_view::npos;
    if (auto fault = NameFault(path.substr(begin, last ? path.npos : end - begin), last)) return fault;
    if (last) return std::nullopt;
    begin = end + 1;
  }
}

}  // namespace pw
