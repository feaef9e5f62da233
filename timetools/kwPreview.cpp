#include "timetools/kwPreview.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "common/core/NumberText.h"
#include "common/platform/LocalTime.h"
#include "ui/Dpi.h"
#include "ui/Layout.h"

namespace {

constexpr int kClientWidth = 900, kClientHeight = 380;
constexpr int kMargin = 8, kButtonWidth = 75, kButtonHeight = 23, kSummaryHeight = 16;
constexpr int kIdList = 100;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

struct Column {
  const wchar_t* Caption;
  int Width;
};
constexpr Column kColumns[] = {
    {.Caption = L"Entry", .Width = 200},        {.Caption = L"Note", .Width = 170},
    {.Caption = L"Created", .Width = 175},      {.Caption = L"New created", .Width = 175},
    {.Caption = L"Modified", .Width = 175},     {.Caption = L"New modified", .Width = 175},
    {.Caption = L"Accessed", .Width = 175},     {.Caption = L"New accessed", .Width = 175}};

}  // namespace

TfrmPreview::TfrmPreview(HWND owner, const std::wstring& title, std::vector<Row> rows)
    : rows_(std::move(rows)), date_(pw::UserDateFormat()) {
  ClassSpec cls{L"TfrmPreview"};
  CreateObjectWindow(cls, kExStyle, title.c_str(), kStyle, 0, 0, kClientWidth, kClientHeight, owner, nullptr);
}

TfrmPreview::~TfrmPreview() { DestroyForm(); }

bool TfrmPreview::Confirm(HWND owner, const std::wstring& title, std::vector<Row> rows) {
  TfrmPreview form(owner, title, std::move(rows));
  return form.RunModal(IsWindowEnabled(form.btnApply) ? form.btnApply : form.btnCancel) == IDOK;
}

void TfrmPreview::CreateControls() {
  TakeDpi();
  PlaceCentred(kClientWidth, kClientHeight, kStyle, kExStyle);
  const HINSTANCE inst = GetModuleHandleW(nullptr);
  const std::wstring separator = pw::LocaleString(LOCALE_STHOUSAND, L",");
  const std::size_t changing = static_cast<std::size_t>(
      std::count_if(rows_.begin(), rows_.end(), [](const Row& row) { return row.New.Any(); }));
  const std::size_t left = rows_.size() - changing;
  std::wstring summary = changing == 0 ? L"Nothing to change"
                                       : pw::FormatGrouped(changing, separator) +
                                             (changing == 1 ? L" entry will change" : L" entries will change");
  if (left > 0) summary += L", " + pw::FormatGrouped(left, separator) + (left == 1 ? L" left as it is" : L" left as they are");
  summary += L":";
  lblSummary = CreateWindowExW(0, L"STATIC", summary.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 0, 0, 0, 0,
                               hwnd_, nullptr, inst, nullptr);
  lvEntries.Create(hwnd_, LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL, kIdList);
  SetWindowLongW(lvEntries.Handle(), GWL_EXSTYLE, GetWindowLongW(lvEntries.Handle(), GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
  // A value the volume keeps otherwise is shown beside the one asked, in a column twice as wide.
  const bool anyKept = std::any_of(rows_.begin(), rows_.end(), [](const Row& row) { return row.Kept.Any(); });
  for (std::size_t i = 0; i < std::size(kColumns); ++i) {
    const bool newValues = i >= 3 && i % 2 == 1;
    const int width = anyKept && newValues ? 2 * kColumns[i].Width : kColumns[i].Width;
    lvEntries.AddColumn(kColumns[i].Caption, ui::Scale(width, dpi_), LVCFMT_LEFT);
  }
  ListView_SetItemCountEx(lvEntries.Handle(), static_cast<int>(rows_.size()), 0);
  btnApply = CreateWindowExW(0, L"BUTTON", L"Apply", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0,
                             0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), inst, nullptr);
  btnCancel = CreateWindowExW(0, L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0, hwnd_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDCANCEL)), inst, nullptr);
  EnableWindow(btnApply, changing > 0);
  ApplyDpi(dpi_);
  ArrangeControls();
}

void TfrmPreview::ApplyDpi(UINT oldDpi) {
  if (!btnCancel) return;
  UseFont(std::initializer_list<HWND>{lblSummary, lvEntries.Handle(), btnApply, btnCancel});
  if (oldDpi != dpi_)
    for (int column = 0; column < lvEntries.ColumnCount(); ++column)
      lvEntries.SetColumnWidth(column, pw::RescaleDpi(lvEntries.ColumnWidth(column), static_cast<int>(oldDpi),
                                                      static_cast<int>(dpi_)));
}

// The list takes the room the buttons leave, whatever size the window is given.
void TfrmPreview::ArrangeControls() {
  if (!btnCancel) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  const auto s = [this](int value) { return ui::Scale(value, dpi_); };
  const int buttonTop = client.bottom - s(kMargin + kButtonHeight);
  SetWindowPos(lblSummary, nullptr, s(kMargin), s(kMargin), client.right - 2 * s(kMargin), s(kSummaryHeight),
               SWP_NOZORDER | SWP_NOACTIVATE);
  const int listTop = s(kMargin + kSummaryHeight + 4);
  SetWindowPos(lvEntries.Handle(), nullptr, s(kMargin), listTop, client.right - 2 * s(kMargin),
               buttonTop - s(kMargin) - listTop, SWP_NOZORDER | SWP_NOACTIVATE);
  const int cancelLeft = client.right - s(kMargin + kButtonWidth);
  SetWindowPos(btnCancel, nullptr, cancelLeft, buttonTop, s(kButtonWidth), s(kButtonHeight),
               SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(btnApply, nullptr, cancelLeft - s(kMargin + kButtonWidth), buttonTop, s(kButtonWidth),
               s(kButtonHeight), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmPreview::lvEntriesGetDispInfo(NMLVDISPINFOW& info) const {
  if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0) return;
  if (info.item.iItem < 0 || static_cast<std::size_t>(info.item.iItem) >= rows_.size()) return;
  const Row& row = rows_[static_cast<std::size_t>(info.item.iItem)];
  std::wstring text;
  const auto stamp = [&](std::uint64_t old, const std::optional<std::uint64_t>& changed,
                          const std::optional<std::uint64_t>& kept, bool wanted) {
    if (!wanted || !changed) text = pw::ExactStampText(old, date_);
    else if (!kept) text = pw::ExactStampText(*changed, date_);
    else text = pw::ExactStampText(*kept, date_) + L" (asked " + pw::ExactStampText(*changed, date_) + L")";
  };
  switch (info.item.iSubItem) {
    case 0: text = row.Path; break;
    case 1: text = row.Note; break;
    case 2: stamp(row.Old.Created, row.New.Created, row.Kept.Created, false); break;
    case 3: stamp(row.Old.Created, row.New.Created, row.Kept.Created, true); break;
    case 4: stamp(row.Old.LastWrite, row.New.LastWrite, row.Kept.LastWrite, false); break;
    case 5: stamp(row.Old.LastWrite, row.New.LastWrite, row.Kept.LastWrite, true); break;
    case 6: stamp(row.Old.LastAccess, row.New.LastAccess, row.Kept.LastAccess, false); break;
    case 7: stamp(row.Old.LastAccess, row.New.LastAccess, row.Kept.LastAccess, true); break;
    default: break;
  }
  lstrcpynW(info.item.pszText, text.c_str(), info.item.cchTextMax);
}

LRESULT TfrmPreview::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: CreateControls(); return 0;
    case WM_SIZE: ArrangeControls(); return 0;
    case WM_COMMAND:
      if ((LOWORD(wp) == IDOK && IsWindowEnabled(btnApply)) || LOWORD(wp) == IDCANCEL) modalResult_ = LOWORD(wp);
      return 0;
    case WM_CLOSE: modalResult_ = IDCANCEL; return 0;
    case WM_NOTIFY: {
      auto& hdr = *reinterpret_cast<NMHDR*>(lp);
      if (hdr.hwndFrom == lvEntries.Handle() && hdr.code == LVN_GETDISPINFOW)
        lvEntriesGetDispInfo(reinterpret_cast<NMLVDISPINFOW&>(hdr));
      return 0;
    }
    default: return Form::HandleMessage(msg, wp, lp);
  }
}
