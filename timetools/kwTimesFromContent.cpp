#include "timetools/kwTimesFromContent.h"

#include <cwctype>
#include <string>

namespace {

constexpr int kMargin = 10;

std::wstring TextOf(HWND control) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool Checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

std::optional<std::int32_t> ParseUtcOffset(std::wstring_view text) {
  while (!text.empty() && text.front() == L' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == L' ') text.remove_suffix(1);
  int sign = 1;
  if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
    sign = text.front() == L'-' ? -1 : 1;
    text.remove_prefix(1);
  }
  int hours = 0, minutes = 0, digits = 0;
  std::size_t at = 0;
  for (; at < text.size() && iswdigit(text[at]) && digits < 2; ++at, ++digits) hours = hours * 10 + (text[at] - L'0');
  if (digits == 0) return std::nullopt;
  if (at < text.size()) {
    if (text[at] != L':' || text.size() != at + 3 || !iswdigit(text[at + 1]) || !iswdigit(text[at + 2]))
      return std::nullopt;
    minutes = (text[at + 1] - L'0') * 10 + (text[at + 2] - L'0');
  }
  if (hours > 14 || minutes > 59 || hours * 60 + minutes > 14 * 60) return std::nullopt;
  return sign * (hours * 60 + minutes);
}

TfrmTimesFromContent::TfrmTimesFromContent(HWND owner, bool offersScope) : TfrmTimeTool(L"Set", 132, offersScope) {
  CreateToolWindow(owner, L"TfrmTimesFromContent", L"Times From Content");
}

TfrmTimesFromContent::~TfrmTimesFromContent() { DestroyForm(); }

void TfrmTimesFromContent::CreateTop() {
  lblSource = AddControl(L"STATIC", L"Take each entry's time from:", 0);
  rbTaken = AddControl(L"BUTTON", L"The date a photo or video was &taken", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON);
  rbName = AddControl(L"BUTTON", L"A date in its &name", BS_AUTORADIOBUTTON);
  rbSidecar = AddControl(L"BUTTON", L"A s&idecar file", BS_AUTORADIOBUTTON);
  rbNewest = AddControl(L"BUTTON", L"A folder's ne&west entry", BS_AUTORADIOBUTTON);
  cbCountFolders = AddControl(L"BUTTON", L"&Folders in it count too", WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX);
  lblZone = AddControl(L"STATIC", L"A date without an offset is in:", 0);
  rbComputerZone = AddControl(L"BUTTON", L"This computer's &zone", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON);
  rbFixedOffset = AddControl(L"BUTTON", L"UTC &offset", BS_AUTORADIOBUTTON);
  edOffset = AddControl(L"EDIT", L"+00:00", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | WS_GROUP);
  SendMessageW(rbTaken, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(rbComputerZone, BM_SETCHECK, BST_CHECKED, 0);
  OnToolCommand(nullptr, 0);
}

void TfrmTimesFromContent::PlaceTop() {
  PlaceScaled(lblSource, {kMargin, 8, 250, 16});
  PlaceScaled(rbTaken, {20, 26, 240, 18});
  PlaceScaled(rbName, {20, 44, 160, 18});
  PlaceScaled(rbSidecar, {185, 44, 165, 18});
  PlaceScaled(rbNewest, {20, 62, 160, 18});
  PlaceScaled(cbCountFolders, {185, 62, 165, 18});
  PlaceScaled(lblZone, {kMargin, 86, 250, 16});
  PlaceScaled(rbComputerZone, {20, 104, 150, 18});
  PlaceScaled(rbFixedOffset, {185, 104, 80, 18});
  PlaceScaled(edOffset, {270, 102, 60, 21});
}

pw::ContentSource TfrmTimesFromContent::Source() const {
  if (Checked(rbName)) return pw::ContentSource::NameDate;
  if (Checked(rbNewest)) return pw::ContentSource::NewestInside;
  if (Checked(rbSidecar)) return pw::ContentSource::Sidecar;
  return pw::ContentSource::DateTaken;
}

bool TfrmTimesFromContent::CountFolders() const { return Checked(cbCountFolders); }

std::optional<std::int32_t> TfrmTimesFromContent::FixedOffset() const {
  if (!Checked(rbFixedOffset)) return std::nullopt;
  return ParseUtcOffset(TextOf(edOffset));
}

bool TfrmTimesFromContent::Ready() const {
  // A folder's newest entry is a time already: no zone to read it in.
  return !Checked(rbFixedOffset) || Source() == pw::ContentSource::NewestInside || FixedOffset().has_value();
}

void TfrmTimesFromContent::OnToolCommand(HWND, WORD) {
  const bool newest = Source() == pw::ContentSource::NewestInside;
  EnableWindow(cbCountFolders, newest);
  for (HWND zone : {lblZone, rbComputerZone, rbFixedOffset}) EnableWindow(zone, !newest);
  EnableWindow(edOffset, !newest && Checked(rbFixedOffset));
}
