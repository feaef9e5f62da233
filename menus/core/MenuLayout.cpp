#include "menus/core/MenuLayout.h"

#include <string>

#include "menus/core/MenuColors.h"

namespace pw {

bool IsSeparatorCaption(std::wstring_view caption) { return caption == L"-"; }

MenuSize ItemIconSize(bool menuBarItem, std::optional<MenuSize> image, MenuSize bitmap,
                      int iconWidth) {
  MenuSize size = image ? *image : bitmap.width > 0 ? bitmap : MenuSize{};
  if (!menuBarItem && size.width < iconWidth) size.width = iconWidth;
  return size;
}

MenuSize MeasureMenuItem(std::wstring_view caption, std::wstring_view shortcut,
                         const TextExtent& extent, MenuSize icon, MenuSize proposed, int dpi) {
  const auto s = [dpi](int value) { return ScaleToDpi(value, dpi); };
  const bool separator = IsSeparatorCaption(caption);
  std::wstring text = separator ? std::wstring() : std::wstring(caption);
  if (shortcut.find_first_not_of(L" \t") != std::wstring_view::npos)
    text.append(shortcut).append(L"WWW");

  const MenuSize textSize = extent(text);
  int w = textSize.width;
  if (text.find(L'&') != std::wstring::npos) w -= extent(L"&").width;
  w += icon.width + s(10);

  MenuSize size = proposed;
  if (w > size.width) size.width = w;
  if (separator) {
    size.height = s(4);
  } else {
    int h = textSize.height + RoundHalfEven(3 * textSize.height, 4);
    if (h < icon.height + s(4)) h = icon.height + s(4);
    if (h > size.height) size.height = h;
  }
  return size;
}

}  // namespace pw
