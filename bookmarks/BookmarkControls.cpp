#include "bookmarks/BookmarkControls.h"

#include "resources/resource.h"
#include "ui/Pictures.h"

namespace pw {
namespace {

// How the button and the pop-up item look in each state.
struct BookmarkLook {
  int Glyph;  // in the bookmark glyph strip
  const wchar_t* Hint;
  int Image;  // in the menu images
  const wchar_t* Caption;
};

const BookmarkLook kAddLook{0, L"Add bookmark", MENUIMG_ADDBOOKMARK, L"&Add bookmark"};
const BookmarkLook kRemoveLook{1, L"Remove bookmark", MENUIMG_REMOVEBOOKMARK, L"&Remove bookmark"};

}  // namespace

TBookmarkControls::TBookmarkControls(ui::MenuItem& bookmarkMenu, const std::wstring& subKey,
                                     ui::SpeedButton& button, ui::MenuItem& popupItem)
    : recentKeys_(std::make_unique<TkwRecentKeys>(bookmarkMenu, subKey)), button_(button), popupItem_(popupItem) {
  button_.Tag = kAddState;
  popupItem_.Tag = kAddState;
  button_.SetEnabled(false);
  popupItem_.SetEnabled(false);
}

void TBookmarkControls::Click(int senderState, const std::wstring& selectedPath) {
  recentKeys_->UpdateBookmark(selectedPath,
                              senderState == kAddState ? BookmarkChange::MoveToTop : BookmarkChange::Remove);
  Update(senderState, true, selectedPath);
}

void TBookmarkControls::Update(int state, bool usable, const std::wstring& selectedPath) {
  button_.SetEnabled(usable);
  popupItem_.SetEnabled(usable);
  if (!usable) return;
  const bool bookmarked = recentKeys_->IsBookmarked(selectedPath);
  if (bookmarked && state == kAddState) ShowState(kRemoveState);
  else if (!bookmarked && state == kRemoveState) ShowState(kAddState);
}

void TBookmarkControls::SetDpi(UINT dpi) {
  dpi_ = dpi;
  // Each state is a double glyph: normal and disabled side by side.
  const ui::Picture strip = ui::LoadPicture(IDB_BOOKMARKGLYPHS, 16, dpi_);
  const int glyph = button_.Tag == kRemoveState ? kRemoveLook.Glyph : kAddLook.Glyph;
  if (strip.Bitmap)
    button_.SetGlyph(ui::CutPicture(strip.Bitmap.get(), glyph, 2 * strip.Size, strip.Size).get(), 2, RGB(255, 0, 255));
}

void TBookmarkControls::ShowState(int state) {
  const BookmarkLook& look = state == kAddState ? kAddLook : kRemoveLook;
  button_.Tag = state;
  SetDpi(dpi_);
  button_.SetHint(look.Hint);
  popupItem_.SetImageIndex(look.Image);
  popupItem_.SetCaption(look.Caption);
  popupItem_.Tag = state;
}

}  // namespace pw
