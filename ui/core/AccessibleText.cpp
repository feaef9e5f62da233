#include "ui/core/AccessibleText.h"

#include <cwctype>

namespace pw {

std::wstring MenuItemText(std::wstring_view caption, std::wstring_view shortcut) {
  if (caption == L"-") return {};
  std::wstring text(caption);
  if (!shortcut.empty()) {
    text += L'\t';
    text += shortcut;
  }
  return text;
}

std::wstring SpokenCaption(std::wstring_view caption) {
  std::wstring spoken;
  spoken.reserve(caption.size());
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&') {
      if (i + 1 == caption.size()) break;  // a trailing "&" marks nothing and is not said
      ++i;                                 // "&&" is one "&"; "&x" is "x"
    }
    spoken += caption[i];
  }
  return spoken;
}

std::wstring AccessKeyName(std::wstring_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    return std::wstring(L"Alt+") + static_cast<wchar_t>(std::towupper(caption[i + 1]));
  }
  return {};
}

}  // namespace pw
