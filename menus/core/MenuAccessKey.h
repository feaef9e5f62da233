#pragma once
// Access keys of menu captions, free of any window. Owner-drawn items are no longer searched for
// their access keys by every system, so the menu's owner answers the typed character itself.
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// The character after the first single "&" of a caption ("&&" stands for a plain "&"), or 0 when
// the caption has none.
wchar_t AccessKey(std::wstring_view caption);

// The item a typed character leads to, by its index among the captions. With one item of that
// access key it is run; with several the next one after `current` (-1 for none) is only selected,
// so repeated presses step through them. index -1: no item has the key.
struct AccessKeyChoice {
  int index = -1;
  bool execute = false;
};

AccessKeyChoice ChooseByAccessKey(const std::vector<std::wstring>& captions, wchar_t key,
                                  int current);

// The access keys (in upper case, in the order first found) that more than one of a menu's
// captions has: a key shared only selects, and the user has to press it again to reach the item.
std::vector<wchar_t> SharedAccessKeys(const std::vector<std::wstring>& captions);

}  // namespace pw
