#include "timetools/ScopeBox.h"

#include <commctrl.h>

namespace {

struct ScopeChoice {
  const wchar_t* Text;
  pw::Scope Reach;
};
constexpr ScopeChoice kChoices[] = {
    {.Text = L"The selected entries only", .Reach = pw::Scope::Selected},
    {.Text = L"Also files in selected folders", .Reach = pw::Scope::Files},
    {.Text = L"Also folders in selected folders", .Reach = pw::Scope::Folders},
    {.Text = L"Also all in selected folders", .Reach = pw::Scope::Everything},
};
constexpr int kLabelWidth = 60, kListLeft = 70;

}  // namespace

void TScopeBox::Create(HWND parent, bool offered) {
  offered_ = offered;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  label_ = CreateWindowExW(0, L"STATIC", L"A&pply to:", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr, instance,
                           nullptr);
  list_ = CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0,
                          0, 0, 0, parent, nullptr, instance, nullptr);
  for (const ScopeChoice& choice : kChoices)
    SendMessageW(list_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.Text));
  SendMessageW(list_, CB_SETCURSEL, 0, 0);
  EnableWindow(label_, offered);
  EnableWindow(list_, offered);
}

void TScopeBox::Place(int left, int top, int width, UINT dpi) const {
  ui::Place(label_, {left, top + 4, kLabelWidth, 16}, dpi);
  // The list's height is its dropped height; its closed height is the font's.
  ui::Place(list_, {left + kListLeft, top, width - kListLeft, 200}, dpi);
}

pw::Scope TScopeBox::Reach() const {
  const LRESULT chosen = SendMessageW(list_, CB_GETCURSEL, 0, 0);
  if (!offered_ || chosen < 0 || chosen >= static_cast<LRESULT>(std::size(kChoices))) return pw::Scope::Selected;
  return kChoices[chosen].Reach;
}
