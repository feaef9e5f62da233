#pragma once
// A row of flat tool buttons and separator lines on a bevelled panel, made from a table: each
// button's name, place, hint, caption, tag, radio group and glyph. Buttons anchored right keep their
// distance from the panel's right edge.
#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "ui/Panel.h"
#include "ui/Sender.h"
#include "ui/SpeedButton.h"

namespace ui {

class Toolbar : public Panel {
public:
  struct Button {
    const wchar_t* Name;
    int Left;    // at 96 DPI, from the left edge; ignored when Right is not negative
    int Right;   // from the right edge to the button's right side, or -1
    int Width;
    const wchar_t* Hint;
    const wchar_t* Caption;  // "" for a glyph alone
    int Tag;
    int Group;
    int Glyph;  // picture in the glyph strip, -1 none
  };
  static constexpr int kTop = 3, kHeight = 23;
  static constexpr int kBevelTop = 5, kBevelHeight = 19;

  using ClickHandler = std::function<void(std::size_t row, SpeedButton& sender)>;
  // Makes the panel and its buttons; bevels are the left edges of the separator lines.
  void Create(HWND parent, Bevel outer, Bevel inner, std::span<const Button> buttons, std::span<const int> bevels,
              ClickHandler click);
  // The button of that name, or nullptr.
  SpeedButton* Find(std::wstring_view name) const;
  std::size_t Count() const { return buttons_.size(); }
  SpeedButton& At(std::size_t row) { return *buttons_[row]; }
  // Each button with a glyph gets its cell of the strip drawn for the DPI (magenta shows through).
  void SetGlyphs(int stripId, UINT dpi);
  // Places the buttons and lines for the DPI within the panel's width.
  void Arrange(UINT dpi);

private:
  std::vector<Button> rows_;
  std::vector<int> bevelLefts_;
  std::vector<std::unique_ptr<SpeedButton>> buttons_;
  std::vector<HWND> bevels_;
};

// A table row that names its owner's click handler.
template <class Owner>
struct ToolbarRow {
  Toolbar::Button Look;
  void (Owner::*Click)(const Sender&);
};

template <class Owner, std::size_t N>
void BuildToolbar(Toolbar& bar, HWND parent, Bevel outer, Bevel inner, Owner& owner,
                  const ToolbarRow<Owner> (&rows)[N], std::span<const int> bevels) {
  std::vector<Toolbar::Button> looks;
  for (const auto& row : rows) looks.push_back(row.Look);
  bar.Create(parent, outer, inner, looks, bevels, [&owner, &rows](std::size_t i, SpeedButton& sender) {
    if (rows[i].Click) (owner.*rows[i].Click)(Sender{sender.Tag, nullptr, &sender});
  });
}

}  // namespace ui
