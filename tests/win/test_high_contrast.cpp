// Under a high-contrast scheme everything the program paints keeps to the scheme's colours: the
// open flat menu and the editor, read back from the screen.
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "support/EditorProbes.h"
#include "support/BrowserFixture.h"
#include "ui/HighContrast.h"
#include "ui/Pictures.h"
#include "ui/Subclass.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255), kCyan = RGB(0, 255, 255),
                   kGreen = RGB(63, 242, 63);

// Every system colour set to one of the scheme's four, as a high-contrast theme sets them (the
// highlight's text as dark as the ground); Wine keeps the high-contrast flag off, so the program is
// told the scheme is one. The old colours come back when the object goes.
class HighContrastScheme {
public:
  HighContrastScheme() {
    std::vector<COLORREF> scheme;
    for (int i = COLOR_SCROLLBAR; i <= COLOR_MENUBAR; ++i) {
      indices_.push_back(i);
      old_.push_back(GetSysColor(i));
      scheme.push_back(kBlack);
    }
    for (int i : {COLOR_WINDOWFRAME, COLOR_MENUTEXT, COLOR_WINDOWTEXT, COLOR_CAPTIONTEXT, COLOR_ACTIVEBORDER,
                  COLOR_INACTIVEBORDER, COLOR_BTNSHADOW, COLOR_BTNTEXT, COLOR_INACTIVECAPTIONTEXT, COLOR_BTNHIGHLIGHT,
                  COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_INFOTEXT})
      scheme[static_cast<size_t>(i)] = kWhite;
    for (int i : {COLOR_HIGHLIGHT, COLOR_HOTLIGHT, COLOR_ACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION, COLOR_MENUHILIGHT})
      scheme[static_cast<size_t>(i)] = kCyan;
    scheme[COLOR_GRAYTEXT] = kGreen;
    ui::SetHighContrastOverride(1);
    SetSysColors(static_cast<int>(indices_.size()), indices_.data(), scheme.data());
  }
  ~HighContrastScheme() {
    SetSysColors(static_cast<int>(indices_.size()), indices_.data(), old_.data());
    ui::SetHighContrastOverride(-1);
  }
  HighContrastScheme(const HighContrastScheme&) = delete;
  HighContrastScheme& operator=(const HighContrastScheme&) = delete;

private:
  std::vector<int> indices_;
  std::vector<COLORREF> old_;
};

// The colours on the screen inside a rectangle, with how many pixels show each.
std::map<COLORREF, int> ScreenColours(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::map<COLORREF, int> colours;
  if (w <= 0 || h <= 0) return colours;
  const ui::WindowDC screen(nullptr);
  DWORD* bits = nullptr;
  const ui::ScopedBitmap copy = ui::CreateTopDownBitmap(screen.get(), w, h, &bits);
  const ui::MemoryDC memory(screen.get());
  const ui::SelectObj select(memory.get(), copy.get());
  BitBlt(memory.get(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
  GdiFlush();
  for (int i = 0; i < w * h; ++i) {
    const DWORD p = bits[i];
    ++colours[RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF)];
  }
  return colours;
}

// The colours off the scheme, as text for the failure message; empty when there are none.
std::string OffScheme(const std::map<COLORREF, int>& colours) {
  const std::set<COLORREF> scheme{kBlack, kWhite, kCyan, kGreen};
  std::ostringstream out;
  for (const auto& [colour, count] : colours)
    if (!scheme.count(colour))
      out << "(" << int(GetRValue(colour)) << "," << int(GetGValue(colour)) << "," << int(GetBValue(colour))
          << ") x" << count << " ";
  return out.str();
}

class HighContrastTest : public BrowserTest {};

TEST_F(HighContrastTest, TheOpenMenuShowsOnlyTheSchemesColours) {
  const HighContrastScheme scheme;
  SendMessageW(form->Handle(), WM_SYSCOLORCHANGE, 0, 0);
  std::map<COLORREF, int> colours;
  ui::Subclass spy;
  spy.Install(form->Handle(), [&](HWND, UINT msg, WPARAM, LPARAM lp, LRESULT*) {
    if (msg != WM_ENTERIDLE || !lp || !colours.empty()) return false;
    RECT r{};
    GetWindowRect(reinterpret_cast<HWND>(lp), &r);
      colours = ScreenColours(r);
    EndMenu();
    return false;
  });
  // The View menu holds icons, check marks, radio marks and separators; the second item is
  // selected by the keys waiting when the menu opens, and one item is disabled.
  ui::MenuItem* folders = const_cast<ui::MenuItem*>(Item(L"mnuShowFolders"));
  folders->SetEnabled(false);
  PostMessageW(form->Handle(), WM_KEYDOWN, VK_DOWN, 1);
  PostMessageW(form->Handle(), WM_KEYDOWN, VK_DOWN, 1);
  TrackPopupMenu(Item(L"mnuView")->SubMenu(), TPM_RETURNCMD, 100, 100, 0, form->Handle(), nullptr);
  folders->SetEnabled(true);
  ASSERT_FALSE(colours.empty());
  EXPECT_GT(colours[kCyan], 100);  // the selected item
  EXPECT_GT(colours[kGreen], 10);  // the disabled one
  EXPECT_EQ(OffScheme(colours), "");
}

// What the editor paints itself: its toolbar and the time edits with their spin buttons. (Wine's
// check boxes, date controls and edit frames keep its theme's pictures whatever the scheme.)
TEST_F(HighContrastTest, TheEditorsOwnControlsShowOnlyTheSchemesColours) {
  const HighContrastScheme scheme;
  TfrmEditFileParams editor(nullptr);
  const EditFileParamsProbe probe(editor.Handle());
  SendMessageW(editor.Handle(), WM_SYSCOLORCHANGE, 0, 0);
  SetWindowPos(editor.Handle(), HWND_TOPMOST, 200, 150, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  SendMessageW(probe.Button(L"btnNow").Handle(), WM_SETFOCUS, 0, 0);  // with its focus rectangle
  RedrawWindow(editor.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  testutil::PumpMessages();
  std::vector<HWND> own{GetParent(probe.Button(L"btnNow").Handle())};
  for (int i = 0; i < 3; ++i) own.push_back(probe.edTimes(i).Handle());
  for (HWND wnd : own) {
    RECT r{};  // inside the edit's frame, which the system draws
    GetClientRect(wnd, &r);
    MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    const std::map<COLORREF, int> colours = ScreenColours(r);
    EXPECT_GT(colours.count(kWhite), 0u);
    EXPECT_EQ(OffScheme(colours), "");
  }
  ShowWindow(editor.Handle(), SW_HIDE);
}

}  // namespace
