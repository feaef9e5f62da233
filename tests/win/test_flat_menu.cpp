// The flat menus of the main window: items measured and drawn through real WM_MEASUREITEM and
// WM_DRAWITEM into memory bitmaps of several colour depths, a real pop-up menu with its frame,
// access keys, and the menu handles over a window's life.
#include "support/BrowserFixture.h"

#include <algorithm>
#include <optional>

#include "menus/MenuCanvas.h"
#include "menus/core/MenuColors.h"

namespace {

using pw::Rgb;

Rgb Sys(int index) { return pw::FromColorRef(GetSysColor(index)); }

// A memory DC holding a DIB of the given depth, filled with magenta so that untouched pixels show.
class Bitmap {
public:
  Bitmap(int bits, int width = 160, int height = 60) : dc_(nullptr) {
    struct {
      BITMAPINFOHEADER header;
      RGBQUAD colors[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = -height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bits);
    for (int i = 0; i < 216; ++i)  // a 6x6x6 colour cube, then greys
      info.colors[i] = {BYTE(i % 6 * 51), BYTE(i / 6 % 6 * 51), BYTE(i / 36 * 51), 0};
    for (int i = 216; i < 256; ++i) {
      const BYTE grey = BYTE((i - 216) * 6);
      info.colors[i] = {grey, grey, grey, 0};
    }
    void* pixels = nullptr;
    bitmap_.reset(CreateDIBSection(dc_.get(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                   &pixels, nullptr, 0));
    select_.emplace(dc_.get(), bitmap_.get());
    ui::ScopedBrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
    RECT all{0, 0, width, height};
    FillRect(dc_.get(), &all, magenta.get());
  }
  HDC dc() const { return dc_.get(); }
  Rgb At(int x, int y) const { return pw::FromColorRef(GetPixel(dc_.get(), x, y)); }
  Rgb Nearest(Rgb c) const { return pw::MenuCanvas(dc_.get()).Nearest(c); }

private:
  ui::MemoryDC dc_;
  ui::ScopedBitmap bitmap_;
  std::optional<ui::SelectObj> select_;
};

class FlatMenuTest : public BrowserTest {
protected:
  SIZE Measure(const ui::MenuItem* item, UINT proposedHeight = 0) const {
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, item->Command(), 0, proposedHeight, 0};
    EXPECT_TRUE(SendMessageW(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)));
    return SIZE{static_cast<LONG>(mis.itemWidth), static_cast<LONG>(mis.itemHeight)};
  }
  void Draw(const ui::MenuItem* item, const Bitmap& bitmap, RECT rc, UINT state = 0) const {
    DRAWITEMSTRUCT dis{ODT_MENU, 0, item->Command(), ODA_DRAWENTIRE, state,
                       reinterpret_cast<HWND>(item->Parent()->SubMenu()), bitmap.dc(), rc, 0};
    EXPECT_TRUE(SendMessageW(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)));
  }
  ui::MenuItem& AddPopupItem(const wchar_t* caption) {
    return form->lvFilesPopupMenu.Root().Add(L"", caption);
  }
};

TEST_F(FlatMenuTest, MeasuredThroughWmMeasureItem) {
  EXPECT_EQ(Measure(form->N5, 40).cy, 4);  // a separator, whatever the proposal
  EXPECT_EQ(Measure(form->N5).cx, 34);     // icon column and margin
  const SIZE plain = Measure(&AddPopupItem(L"Copy"));
  EXPECT_EQ(Measure(&AddPopupItem(L"&Copy")).cx, plain.cx);  // the access-key mark takes no room
  EXPECT_GT(Measure(&AddPopupItem(L"&&Copy")).cx, plain.cx);  // "&&" shows one "&"
  ui::MenuItem& shortcut = AddPopupItem(L"Copy");
  shortcut.SetShortCut(L"Ctrl+C");
  EXPECT_GT(Measure(&shortcut).cx, plain.cx + 30);
  EXPECT_GE(plain.cy, 20);  // the icon with its margin at least
  EXPECT_EQ(Measure(form->mnuCopyPath, 90).cy, 90);  // never below the proposal
}

TEST_F(FlatMenuTest, SelectionSeparatorAndCheckMarkPixelsAt24Bits) {
  Bitmap canvas(24);
  Draw(form->mnuCopyPath, canvas, {0, 0, 150, 23}, ODS_SELECTED);
  const Rgb border = Sys(COLOR_HIGHLIGHT);
  const Rgb background = canvas.Nearest(pw::Lighten(Sys(COLOR_BTNFACE), 86));
  EXPECT_EQ(canvas.At(0, 1), border);    // the selection starts one row down and covers the icon column
  EXPECT_EQ(canvas.At(148, 12), border);  // and ends one column short of the item with a framed menu
  EXPECT_EQ(canvas.At(149, 12), background);
  EXPECT_EQ(canvas.At(140, 12), canvas.Nearest(pw::Lighten(Sys(COLOR_HIGHLIGHT), 68)));
  EXPECT_EQ(canvas.At(140, 0), background);

  Draw(form->N5, canvas, {0, 30, 150, 34});  // the line 2 pixels below the top, from the text's start
  const Rgb line = canvas.Nearest(pw::Lighten(Sys(COLOR_BTNSHADOW), 25));
  EXPECT_EQ(canvas.At(31, 32), line);
  EXPECT_EQ(canvas.At(149, 32), line);
  EXPECT_NE(canvas.At(30, 32), line);
  EXPECT_NE(canvas.At(60, 31), line);

  Draw(form->mnuShowFolders, canvas, {0, 36, 150, 59}, ODS_CHECKED);  // box (7, 43)-(17, 53)
  EXPECT_EQ(canvas.At(7, 43), border);
  EXPECT_EQ(canvas.At(16, 52), border);
  EXPECT_EQ(canvas.At(15, 51), canvas.Nearest(pw::Lighten(Sys(COLOR_HIGHLIGHT), 75)));
  for (POINT tick : {POINT{8, 48}, POINT{10, 50}, POINT{14, 47}, POINT{18, 43}})  // leaves at upper right
    EXPECT_EQ(canvas.At(tick.x, tick.y), pw::kBlack) << tick.x << "," << tick.y;
}

TEST_F(FlatMenuTest, FewerThan16BitsDrawWhiteAndAPlainTabShadow) {
  const Rgb face = Sys(COLOR_BTNFACE), shadow = Sys(COLOR_BTNSHADOW);
  for (int bits : {8, 16}) {
    Bitmap canvas(bits);
    const bool deep = bits >= 16;
    const auto nearest = [&](Rgb c) { return canvas.Nearest(c); };
    Draw(form->mnuCopyPath, canvas, {0, 0, 150, 23});
    EXPECT_EQ(canvas.At(140, 10), deep ? nearest(pw::Lighten(face, 86)) : pw::kWhite) << bits;
    EXPECT_EQ(canvas.At(2, 1), nearest(deep ? pw::Lighten(face, 16) : face)) << bits;  // icon column

    // The open menu-bar item, R = (0, 30, 50, 50): a tab with a 7-pixel soft shadow or a plain one.
    Draw(form->mnuView, canvas, {0, 30, 50, 49}, ODS_SELECTED);
    const Rgb frame = nearest(deep ? pw::Darken(face, 90) : shadow);
    EXPECT_EQ(canvas.At(deep ? 42 : 47, 40), frame) << bits;
    EXPECT_EQ(canvas.At(49, 49), nearest(deep ? pw::Darken(face, 10) : shadow)) << bits;
    EXPECT_EQ(canvas.At(43, 49), nearest(deep ? pw::Darken(face, 100) : face)) << bits;
  }
}

TEST_F(FlatMenuTest, DisabledItemUnderTheMouseKeepsItsLookAndALiveIconLifts) {
  Bitmap idle(24), hovered(24);
  ASSERT_FALSE(form->mnuPopBookmark->Enabled());
  // Both drawn twice, so that text drawn over itself looks the same in both.
  for (int i = 0; i < 2; ++i) Draw(form->mnuPopBookmark, idle, {0, 0, 150, 23}, ODS_DISABLED);
  Draw(form->mnuPopBookmark, hovered, {0, 0, 150, 23}, ODS_DISABLED);
  Draw(form->mnuPopBookmark, hovered, {0, 0, 150, 23}, ODS_SELECTED | ODS_DISABLED);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 150; ++x) ASSERT_EQ(idle.At(x, y), hovered.At(x, y)) << x << "," << y;

  Bitmap lifted(24);
  Draw(form->mnuCopyPath, lifted, {0, 0, 150, 23}, ODS_SELECTED);
  const Rgb shadow = lifted.Nearest(pw::Darken(lifted.Nearest(pw::Lighten(Sys(COLOR_HIGHLIGHT), 68)), 50));
  int shadowPixels = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) shadowPixels += lifted.At(x, y) == shadow;
  EXPECT_GT(shadowPixels, 10);
}

TEST_F(FlatMenuTest, ABookmarkAddedLaterIsDrawnFlatInAFramedPopup) {
  ui::MenuItem& bookmark = form->mnuBookmarks->Add(L"", L"C:\\later.txt");
  form->mnuBookmarks->SetVisible(true);
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(form->mnuBookmarks->SubMenu(), bookmark.Command(), FALSE, &mii);
  EXPECT_TRUE(mii.fType & MFT_OWNERDRAW);

  // The real menu: when it waits for input every item has been drawn; the frame is read back then.
  std::vector<UINT> drawn;
  Rgb left{}, right{}, column{};
  ui::Subclass spy;
  spy.Install(form->Handle(), [&](HWND, UINT msg, WPARAM, LPARAM lp, LRESULT*) {
    if (msg == WM_DRAWITEM) drawn.push_back(reinterpret_cast<DRAWITEMSTRUCT*>(lp)->itemID);
    if (msg == WM_ENTERIDLE && lp) {
      const HWND popup = reinterpret_cast<HWND>(lp);
      RECT rc{};
      GetWindowRect(popup, &rc);
      ui::WholeWindowDC dc(popup);
      const int middle = (rc.bottom - rc.top) / 2;
      left = pw::FromColorRef(GetPixel(dc.get(), 0, middle));
      right = pw::FromColorRef(GetPixel(dc.get(), rc.right - rc.left - 1, middle));
      column = pw::FromColorRef(GetPixel(dc.get(), 6, middle));
      EndMenu();
    }
    return false;
  });
  TrackPopupMenu(form->mnuBookmarks->SubMenu(), TPM_RETURNCMD, 100, 100, 0, form->Handle(), nullptr);
  spy.Remove();
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), bookmark.Command()), drawn.end());
  pw::MenuCanvas screen(ui::WindowDC(nullptr).get());
  EXPECT_EQ(left, screen.Nearest(pw::Darken(Sys(COLOR_BTNFACE), 90)));
  EXPECT_EQ(right, screen.Nearest(pw::Darken(Sys(COLOR_BTNFACE), 76)));
  EXPECT_EQ(column, screen.Nearest(pw::Lighten(Sys(COLOR_BTNFACE), 16)));

  form->FlatMenuRenderer1.SetActive(false);  // back to the system's drawing, with bitmaps
  mii.fMask = MIIM_FTYPE | MIIM_BITMAP;
  GetMenuItemInfoW(GetMenu(form->Handle()), form->mnuExplorer->Command(), FALSE, &mii);
  EXPECT_FALSE(mii.fType & MFT_OWNERDRAW);
  EXPECT_NE(mii.hbmpItem, nullptr);
}

TEST_F(FlatMenuTest, AccessKeysOfOwnerDrawnItems) {
  auto menuChar = [&](wchar_t key, HMENU menu) {
    return SendMessageW(form->Handle(), WM_MENUCHAR, MAKEWPARAM(key, MF_POPUP),
                        reinterpret_cast<LPARAM>(menu));
  };
  EXPECT_EQ(menuChar(L's', form->mnuView->SubMenu()), MAKELRESULT(4, MNC_EXECUTE));
  EXPECT_NE(HIWORD(menuChar(L'q', form->mnuView->SubMenu())), MNC_EXECUTE);
  EXPECT_EQ(menuChar(L'V', form->MainMenu.Handle()), MAKELRESULT(2, MNC_EXECUTE));  // Bookmarks is hidden
  form->mnuBookmarks->Add(L"", L"C:\\x.txt");
  form->mnuBookmarks->SetVisible(true);
  EXPECT_EQ(menuChar(L'v', form->MainMenu.Handle()), MAKELRESULT(3, MNC_EXECUTE));

  // A user typing the key in the open menu runs the item.
  const UINT scan = MapVirtualKeyW('S', MAPVK_VK_TO_VSC);
  PostMessageW(form->Handle(), WM_CHAR, L's', 1 | (scan << 16));
  const int chosen = TrackPopupMenu(form->mnuView->SubMenu(), TPM_RETURNCMD, 100, 100, 0,
                                    form->Handle(), nullptr);
  EXPECT_EQ(static_cast<UINT>(chosen), form->mnuShowFolders->Command());
}

void CollectMenus(HMENU menu, std::vector<HMENU>& out) {
  out.push_back(menu);
  for (int i = 0; i < GetMenuItemCount(menu); ++i)
    if (HMENU sub = GetSubMenu(menu, i)) CollectMenus(sub, out);
}

TEST_F(FlatMenuTest, EveryMenuHandleLivesAsLongAsItsWindowAndNoLonger) {
  // A menu made before the window: a handle destroyed twice after being reused would take it along.
  HMENU before = CreatePopupMenu();
  AppendMenuW(before, MF_STRING, 1, L"before");
  std::vector<HMENU> handles;
  {
    TfrmFileBrowser other;
    ASSERT_TRUE(other.Create(false));
    other.mnuBookmarks->Add(L"", L"C:\\y.txt");
    other.mnuBookmarks->SetVisible(true);
    CollectMenus(GetMenu(other.Handle()), handles);
    CollectMenus(other.lvFilesPopupMenu.Handle(), handles);
    EXPECT_EQ(handles.size(), 9u);  // bar, Explorer, Options, Bookmarks, View and its three, pop-up
    for (HMENU h : handles) EXPECT_TRUE(IsMenu(h));
    other.FlatMenuRenderer1.SetActive(false);
    other.FlatMenuRenderer1.SetActive(true);
  }
  testutil::PumpMessages();
  for (HMENU h : handles) EXPECT_FALSE(IsMenu(h));
  EXPECT_TRUE(IsMenu(before));
  EXPECT_EQ(GetMenuItemCount(before), 1);
  DestroyMenu(before);
}

}  // namespace
