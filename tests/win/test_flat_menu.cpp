// The main window's flat menus through real messages: drawn items, a real pop-up, menu handles.
#include "support/BrowserFixture.h"

#include "menus/MenuCanvas.h"
#include "menus/core/MenuColors.h"

namespace {

using pw::Rgb;

class FlatMenuTest : public BrowserTest {
protected:
  // Bookmarks a file of a folder of its own through the button, as a user does: the Bookmarks menu
  // gets an item after the renderer was switched on. Taken back (the same way) when the window
  // closes, so no other test finds it.
  void BookmarkAFile(const TfrmFileBrowser& window) {
    MakeFile(dir.Path() + L"later.txt");
    testutil::GoToPath(window, dir.Path());
    const MainWindowProbe probe(window);
    ClickRow(probe.Files(), 1);
    ClickButton(probe.Button(L"btnBookmark"));
  }
  void TakeBookmarkBack(const TfrmFileBrowser& window) {
    ClickButton(MainWindowProbe(window).Button(L"btnBookmark"));
  }
  testutil::TempDir dir;
};

Rgb Sys(int index) { return pw::FromColorRef(GetSysColor(index)); }

TEST_F(FlatMenuTest, ItemPixelsAtEachColourDepth) {
  const Rgb face = Sys(COLOR_BTNFACE), light = Sys(COLOR_HIGHLIGHT), dark = Sys(COLOR_BTNSHADOW);
  for (int bits : {8, 16, 24}) {
    // A bitmap of that depth in magenta, so that untouched pixels show; at 8 bits its palette is a
    // 6x6x6 colour cube, then greys.
    struct {
      BITMAPINFOHEADER header;
      RGBQUAD colors[256];
    } info{{sizeof(BITMAPINFOHEADER), 160, -80, 1, static_cast<WORD>(bits), BI_RGB, 0, 0, 0, 0, 0}, {}};
    for (int i = 0; i < 256; ++i)
      info.colors[i] = i < 216 ? RGBQUAD{BYTE(i % 6 * 51), BYTE(i / 6 % 6 * 51), BYTE(i / 36 * 51), 0}
                               : RGBQUAD{BYTE((i - 216) * 6), BYTE((i - 216) * 6), BYTE((i - 216) * 6), 0};
    void* pixels = nullptr;
    const ui::MemoryDC dc(nullptr);
    const ui::ScopedBitmap bitmap(CreateDIBSection(dc.get(), reinterpret_cast<BITMAPINFO*>(&info),
                                                   DIB_RGB_COLORS, &pixels, nullptr, 0));
    const ui::SelectObj select(dc.get(), bitmap.get());
    const RECT all{0, 0, 160, 80};
    FillRect(dc.get(), &all, ui::ScopedBrush(CreateSolidBrush(RGB(255, 0, 255))).get());
    const auto draw = [&](const ui::MenuItem* item, RECT rc, UINT state) {
      // With the item's data as the menu holds it, as the system hands it over.
      DRAWITEMSTRUCT dis{ODT_MENU, 0, item->Command(), ODA_DRAWENTIRE, state,
                         reinterpret_cast<HWND>(item->Parent()->SubMenu()), dc.get(), rc,
                         item->ItemData()};
      EXPECT_TRUE(SendMessageW(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)));
    };
    draw(Item(L"mnuCopyPath"), {0, 0, 150, 23}, ODS_SELECTED);
    draw(Item(L"N5"), {0, 30, 150, 34}, 0);
    draw(Item(L"mnuShowFolders"), {0, 36, 150, 59}, ODS_CHECKED);
    draw(Item(L"mnuView"), {0, 60, 50, 79}, ODS_SELECTED);
    const pw::MenuCanvas canvas(dc.get());
    const auto pick = [&](Rgb deep, Rgb shallow) { return canvas.Nearest(bits >= 16 ? deep : shallow); };
    const Rgb border = canvas.Nearest(light), fill = pick(pw::Lighten(light, 68), pw::kWhite);
    const Rgb item = pick(pw::Lighten(face, 86), pw::kWhite), line = pick(pw::Lighten(dark, 25), dark);
    // The selection starts one row down and ends one column short of the item in a framed menu;
    // the separator is 2 pixels below the top from the text's start; the check box (7, 43)-(17, 53)
    // has a black tick leaving it at its upper right; the menu-bar tab R = (0, 60, 50, 80) casts a
    // 7-pixel soft shadow. Below 16 bits item and selection are white and the tab's shadow plain.
    const struct { int x, y; Rgb color; } expected[] = {
        {0, 1, border}, {148, 12, border}, {149, 12, item}, {140, 12, fill}, {140, 0, item},
        {2, 0, pick(pw::Lighten(face, 16), face)}, {31, 32, line}, {149, 32, line}, {7, 43, border},
        {16, 52, border}, {15, 51, pick(pw::Lighten(light, 75), pw::kWhite)}, {8, 48, pw::kBlack},
        {10, 50, pw::kBlack}, {14, 47, pw::kBlack}, {18, 43, pw::kBlack},
        {bits >= 16 ? 42 : 47, 70, pick(pw::Darken(face, 90), dark)},
        {49, 79, pick(pw::Darken(face, 10), dark)}, {43, 79, pick(pw::Darken(face, 100), face)}};
    const auto at = [&](int x, int y) { return pw::FromColorRef(GetPixel(dc.get(), x, y)); };
    for (const auto& e : expected)
      EXPECT_EQ(at(e.x, e.y), e.color) << bits << " bits at " << e.x << "," << e.y;
    EXPECT_NE(at(30, 32), line) << bits;
    const Rgb shadow = canvas.Nearest(pw::Darken(fill, 50));  // of the icon lifted under the mouse
    int shadowPixels = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x) shadowPixels += at(x, y) == shadow;
    EXPECT_GT(shadowPixels, 10) << bits;
  }
}

TEST_F(FlatMenuTest, ABookmarkAddedLaterIsDrawnInAFramedPopupAndFoundByItsAccessKey) {
  const auto barChar = [&](wchar_t key) {
    return SendMessageW(form->Handle(), WM_MENUCHAR, MAKEWPARAM(key, MF_POPUP),
                        reinterpret_cast<LPARAM>(Probe().MainMenu()));
  };
  EXPECT_EQ(barChar(L'V'), MAKELRESULT(2, MNC_EXECUTE));  // Bookmarks is hidden
  BookmarkAFile(*form);
  const UINT later = Item(L"mnuBookmarks")->Items().at(0)->Command();
  EXPECT_EQ(barChar(L'v'), MAKELRESULT(3, MNC_EXECUTE));
  // The real menu: when it waits for input every item has been drawn; the frame is read back then.
  bool drawn = false, idle = false;
  ui::Subclass spy;
  spy.Install(form->Handle(), [&](HWND, UINT msg, WPARAM, LPARAM lp, LRESULT*) {
    if (msg == WM_DRAWITEM) drawn |= reinterpret_cast<DRAWITEMSTRUCT*>(lp)->itemID == later;
    if (msg != WM_ENTERIDLE || !lp || idle) return false;
    idle = true;
    const HWND popup = reinterpret_cast<HWND>(lp);
    RECT rc{};
    GetWindowRect(popup, &rc);
    OffsetRect(&rc, -rc.left, -rc.top);
    const ui::WholeWindowDC dc(popup);
    const auto at = [&](int x) { return pw::FromColorRef(GetPixel(dc.get(), x, rc.bottom / 2)); };
    const pw::MenuCanvas canvas(dc.get());
    const Rgb face = Sys(COLOR_BTNFACE);
    EXPECT_EQ(at(0), canvas.Nearest(pw::Darken(face, 90)));  // the frame
    EXPECT_EQ(at(rc.right - 1), canvas.Nearest(pw::Darken(face, 76)));  // the shadow
    EXPECT_EQ(at(6), canvas.Nearest(pw::Lighten(face, 16)));  // the icon column
    EndMenu();
    return false;
  });
  TrackPopupMenu(Item(L"mnuBookmarks")->SubMenu(), TPM_RETURNCMD, 100, 100, 0, form->Handle(), nullptr);
  EXPECT_TRUE(drawn && idle);
  // A user typing the key in the open menu runs the item.
  PostMessageW(form->Handle(), WM_CHAR, L's', 1 | (MapVirtualKeyW('S', MAPVK_VK_TO_VSC) << 16));
  EXPECT_EQ(TrackPopupMenu(Item(L"mnuView")->SubMenu(), TPM_RETURNCMD, 100, 100, 0, form->Handle(), nullptr),
            static_cast<int>(Item(L"mnuShowFolders")->Command()));
  TakeBookmarkBack(*form);
}

TEST_F(FlatMenuTest, EveryMenuHandleLivesAsLongAsItsWindowAndNoLonger) {
  // A menu made before the window: a handle destroyed twice after being reused would take it along.
  HMENU before = CreatePopupMenu();
  std::vector<HMENU> handles;
  {
    TfrmFileBrowser other;
    ASSERT_TRUE(other.Create(false));
    other.Show();
    BookmarkAFile(other);  // the Bookmarks menu is shown, with an item made after the others
    handles = {GetMenu(other.Handle()), MainWindowProbe(other).PopupMenu()};
    for (size_t i = 0; i < handles.size(); ++i)
      for (int k = 0; k < GetMenuItemCount(handles[i]); ++k)
        if (HMENU sub = GetSubMenu(handles[i], k)) handles.push_back(sub);
    TakeBookmarkBack(other);
  }
  testutil::PumpMessages();
  for (HMENU h : handles) EXPECT_FALSE(IsMenu(h));
  EXPECT_TRUE(IsMenu(before));
  DestroyMenu(before);
}

}  // namespace
