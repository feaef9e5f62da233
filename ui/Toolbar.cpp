#include "ui/Toolbar.h"

#include "ui/Dpi.h"
#include "ui/Pictures.h"

namespace ui {

void Toolbar::Create(HWND parent, Bevel outer, Bevel inner, std::span<const Button> buttons,
                     std::span<const int> bevels, ClickHandler click) {
  Panel::Create(parent, 0, 0, 0, 0, outer, inner);
  rows_.assign(buttons.begin(), buttons.end());
  bevelLefts_.assign(bevels.begin(), bevels.end());
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const Button& row = rows_[i];
    auto& button = buttons_.emplace_back(std::make_unique<SpeedButton>());
    button->Create(hwnd_, 0, 0, 0, 0);
    button->Tag = row.Tag;
    button->GroupIndex = row.Group;
    button->SetHint(row.Hint);
    if (*row.Caption) button->SetCaption(row.Caption);
    button->OnClick = [click, i](SpeedButton& sender) { click(i, sender); };
  }
  for (std::size_t i = 0; i < bevelLefts_.size(); ++i) {
    bevels_.push_back(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDVERT, 0, 0, 0, 0, hwnd_,
                                      nullptr, GetModuleHandleW(nullptr), nullptr));
  }
}

SpeedButton* Toolbar::Find(std::wstring_view name) const {
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (name == rows_[i].Name) return buttons_[i].get();
  return nullptr;
}

void Toolbar::SetGlyphs(int stripId, UINT dpi) {
  const Picture glyphs = LoadPicture(stripId, 16, dpi);
  if (!glyphs.Bitmap) return;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].Glyph < 0) continue;
    buttons_[i]->SetGlyph(CutPicture(glyphs.Bitmap.get(), rows_[i].Glyph, glyphs.Size, glyphs.Size).get(), 1,
                          RGB(255, 0, 255));
  }
}

void Toolbar::Arrange(UINT dpi) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  const auto s = [dpi](int value) { return Scale(value, dpi); };
  const int top = s(kTop), height = s(kHeight);
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const Button& row = rows_[i];
    const int width = s(row.Width);
    const int left = row.Right >= 0 ? client.right - s(row.Right) - width : s(row.Left);
    SetWindowPos(buttons_[i]->Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // An etched line is two system lines of one pixel at any DPI; a wider window draws it otherwise.
  for (std::size_t i = 0; i < bevels_.size(); ++i) {
    SetWindowPos(bevels_[i], nullptr, s(bevelLefts_[i]), s(kBevelTop), 2, s(kBevelHeight),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace ui
