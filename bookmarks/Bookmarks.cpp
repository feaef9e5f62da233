// The bookmark controls of the main window: the add/remove command of the toolbar button and the
// pop-up item, and keeping both in step with the selected entry.
#include "app/kwFileBrowser.h"
#include "resources/resource.h"

namespace {

constexpr int kAddState = 3;
constexpr int kRemoveState = 4;

// How the button and the pop-up item look in each state; the state is kept in both their tags.
struct BookmarkLook {
  int Glyph;  // in the bookmark glyph strip
  const wchar_t* Hint;
  int Image;  // in the menu images
  const wchar_t* Caption;
};

const BookmarkLook kAddLook{0, L"Add bookmark", MENUIMG_ADDBOOKMARK, L"&Add bookmark"};
const BookmarkLook kRemoveLook{1, L"Remove bookmark", MENUIMG_REMOVEBOOKMARK, L"&Remove bookmark"};

}  // namespace

void TfrmFileBrowser::mnuBookmarkClick(const ui::Sender& sender) {
  const int selected = lvFiles.FirstSelected();
  if (selected < 0) return;
  const std::wstring path = ItemSubText(selected, pw::SubPath);
  RecentKeys->UpdateBookmark(path, sender.Tag == kAddState ? pw::BookmarkChange::MoveToTop
                                                           : pw::BookmarkChange::Remove);
  UpdateBookmarkControls(sender.Tag);
}

void TfrmFileBrowser::UpdateBookmarkControls(int state) {
  const int selected = lvFiles.FirstSelected();
  const std::wstring path = ItemSubText(selected, pw::SubPath);  // empty for the drives entry
  const bool usable = lvFiles.Visible() && selected >= 0 && !path.empty();
  btnBookmark.SetEnabled(usable);
  mnuPopBookmark->SetEnabled(usable);
  if (!usable) return;  // disabled, the controls keep the state they had
  const bool bookmarked = RecentKeys->IsBookmarked(path);
  if (bookmarked && state == kAddState) ShowBookmarkState(kRemoveState);
  else if (!bookmarked && state == kRemoveState) ShowBookmarkState(kAddState);
}

void TfrmFileBrowser::ShowBookmarkState(int state) {
  const BookmarkLook& look = state == kAddState ? kAddLook : kRemoveLook;
  SetBookmarkGlyph(look.Glyph);
  btnBookmark.SetHint(look.Hint);
  btnBookmark.Tag = state;
  mnuPopBookmark->SetImageIndex(look.Image);
  mnuPopBookmark->SetCaption(look.Caption);
  mnuPopBookmark->Tag = state;
}
