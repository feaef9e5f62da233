#include "menus/core/MenuAccessKey.h"

#include <algorithm>
#include <cwctype>

namespace pw {

namespace {

wchar_t Upper(wchar_t c) { return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c))); }

}  // namespace

wchar_t AccessKey(std::wstring_view caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] != L'&') return caption[i + 1];
    ++i;  // "&&": a plain ampersand
  }
  return 0;
}

AccessKeyChoice ChooseByAccessKey(const std::vector<std::wstring>& captions, wchar_t key,
                                  int current) {
  std::vector<int> matches;
  for (size_t i = 0; i < captions.size(); ++i) {
    const wchar_t k = AccessKey(captions[i]);
    if (k != 0 && Upper(k) == Upper(key)) matches.push_back(static_cast<int>(i));
  }
  if (matches.empty()) return {};
  if (matches.size() == 1) return {matches.front(), true};
  for (int m : matches)
    if (m > current) return {m, false};
  return {matches.front(), false};
}

std::vector<wchar_t> SharedAccessKeys(const std::vector<std::wstring>& captions) {
  std::vector<wchar_t> seen, shared;
  for (const std::wstring& caption : captions) {
    const wchar_t key = Upper(AccessKey(caption));
    if (key == 0) continue;
    if (std::find(seen.begin(), seen.end(), key) == seen.end()) seen.push_back(key);
    else if (std::find(shared.begin(), shared.end(), key) == shared.end()) shared.push_back(key);
  }
  return shared;
}

}  // namespace pw
