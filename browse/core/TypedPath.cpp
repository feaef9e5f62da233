#include "browse/core/TypedPath.h"

namespace pw {
namespace {

std::wstring_view Trim(std::wstring_view text) {
  constexpr std::wstring_view kBlanks = L" \t\r\n";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::wstring_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

std::wstring CleanTypedPath(std::wstring_view typed) {
  std::wstring_view text = Trim(typed);
  if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') text = Trim(text.substr(1, text.size() - 2));
  std::wstring path(text);
  if (path.size() >= 2 && path[1] == L':' && path[0] >= L'a' && path[0] <= L'z')
    path[0] = static_cast<wchar_t>(path[0] - L'a' + L'A');
  if (path.size() == 2 && path[1] == L':') path += L'\\';
  return path;
}

}  // namespace pw
