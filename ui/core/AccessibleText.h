#pragma once
// The texts assistive tools read from the program's own controls and menus, free of any window.
#include <string>
#include <string_view>

namespace pw {

// What a menu item holds as its text, both in its handle and for screen readers: the caption with
// its access key's "&", then a tab and the shortcut when it has one ("&Refresh\tF5"). A separator
// ("-") has none.
std::wstring MenuItemText(std::wstring_view caption, std::wstring_view shortcut);

// A caption as it is said: the single "&" that marks the access key dropped, "&&" read as one "&".
std::wstring SpokenCaption(std::wstring_view caption);

// The key a screen reader names for a caption's access key ("Alt+F"), or "" when it has none.
std::wstring AccessKeyName(std::wstring_view caption);

}  // namespace pw
