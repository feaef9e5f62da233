#include "editor/kwFileEditParams.h"

#include <commctrl.h>

#include <cmath>

#include "common/core/DateTime.h"
#include "common/platform/LocalTime.h"
#include "resources/resource.h"
#include "ui/Dpi.h"
#include "ui/Layout.h"
#include "ui/Pictures.h"

namespace {

// The layout, in pixels at 96 dots per inch.
constexpr int kClientWidth = 254, kClientHeight = 185;
constexpr int kToolbarHeight = 29, kBackHeight = 108, kAttributesHeight = 48;
// Below the attributes when the selection holds folders: how far into them the values go.
constexpr int kScopeHeight = 32;
constexpr int kFirstId = 100;  // clear of IDOK and IDCANCEL, which the dialog keys send
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;

constexpr const wchar_t* kRowCaptions[TfrmEditFileParams::kRowCount] = {L"Created", L"Modified", L"Accessed"};
// The same with their access keys, as the rows' check boxes show them.
constexpr const wchar_t* kRowBoxCaptions[TfrmEditFileParams::kRowCount] = {L"&Created", L"&Modified", L"&Accessed"};

using ui::Bounds;

// The three rows, each 24 pixels below the one before.
constexpr int kRowPitch = 24;
constexpr Bounds kRowCheckBox{4, 13, 65, 17}, kRowDate{71, 11, 85, 21}, kRowTime{159, 11, 90, 21};
constexpr Bounds kSynchronize{9, 85, 80, 17}, kModify{9, 8, 100, 17};

constexpr int kAttributeWidth = 70, kAttributeHeight = 17;

double WholeDays(double value) { return pw::SplitDateTime(value).days; }

// Whether "00:00:00:000" fits a time edit of the dialog's size in the given font: the edit is made
// for a moment, as the rows make it, and its room is measured.
bool TimeFitsIn(HWND parent, HFONT font, UINT dpi) {
  ui::ScopedWindow probe(CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD, 0, 0, ui::Scale(kRowTime.Width, dpi),
                                         ui::Scale(kRowTime.Height, dpi), parent, nullptr, GetModuleHandleW(nullptr),
                                         nullptr));
  if (!probe) return true;
  SendMessageW(probe.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  const int margin = pw::TimeEditMetricsForDpi(static_cast<int>(dpi)).rightMargin;
  SendMessageW(probe.get(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, margin));
  const DWORD margins = static_cast<DWORD>(SendMessageW(probe.get(), EM_GETMARGINS, 0, 0));
  RECT client{};
  GetClientRect(probe.get(), &client);
  ui::WindowDC dc(probe.get());
  ui::SelectObj select(dc.get(), font);
  SIZE text{};
  GetTextExtentPoint32W(dc.get(), pw::kClearedTimeText.data(), static_cast<int>(pw::kClearedTimeText.size()), &text);
  return LOWORD(margins) + text.cx + HIWORD(margins) <= client.right;
}

}  // namespace

struct TfrmEditFileParams::Tables {
  using F = TfrmEditFileParams;
  struct AttributeBox {
    HWND TfrmEditFileParams::*Field;
    const wchar_t* Caption;
    int Left, Top;
    std::uint32_t Bit;
  };
  static constexpr AttributeBox kAttributes[] = {
      {.Field = &F::cbReadOnly, .Caption = L"&Read only", .Left = 111, .Top = 8, .Bit = 0x01},
      {.Field = &F::cbHidden, .Caption = L"&Hidden", .Left = 181, .Top = 8, .Bit = 0x02},
      {.Field = &F::cbSystem, .Caption = L"&System", .Left = 111, .Top = 24, .Bit = 0x04},
      {.Field = &F::cbArchive, .Caption = L"Arch&ive", .Left = 181, .Top = 24, .Bit = 0x20},
  };
  // Update and Cancel are anchored to the right edge; the glyphs are in this order in the strip.
  static constexpr ui::ToolbarRow<F> kButtons[] = {
      {.Look = {.Name = L"btnNow", .Left = 4, .Right = -1, .Width = 22,
                 .Hint = L"Set now", .Caption = L"", .Tag = 0, .Group = 0, .Glyph = 0},
       .Click = &F::btnNowClick},
      {.Look = {.Name = L"btnClearTime", .Left = 28, .Right = -1, .Width = 23,
                 .Hint = L"Clear time", .Caption = L"", .Tag = 0, .Group = 0, .Glyph = 1},
       .Click = &F::btnClearTimeClick},
      {.Look = {.Name = L"btnUpdate", .Left = 0, .Right = 73, .Width = 65,
                 .Hint = L"Update", .Caption = L"Update", .Tag = 0, .Group = 0, .Glyph = 2},
       .Click = &F::btnUpdateClick},
      {.Look = {.Name = L"btnCancel", .Left = 0, .Right = 5, .Width = 65,
                 .Hint = L"Cancel", .Caption = L"Cancel", .Tag = 0, .Group = 0, .Glyph = 3},
       .Click = &F::btnCancelClick},
  };
  static constexpr int kBevels[] = {54};
};

// The window is sized for its DPI once it exists and has one (CreateControls).
TfrmEditFileParams::TfrmEditFileParams(HWND owner, bool offersScope) : offersScope_(offersScope) {
  ClassSpec cls{L"TfrmEditFileParams"};
  CreateObjectWindow(cls, kExStyle, L"", kStyle, 0, 0, kClientWidth, kClientHeight, owner, nullptr);
}

TfrmEditFileParams::~TfrmEditFileParams() { DestroyForm(); }

void TfrmEditFileParams::SetCaption(const std::wstring& caption) const { SetWindowTextW(hwnd_, caption.c_str()); }

HWND TfrmEditFileParams::AddCheckBox(HWND parent, const wchar_t* caption, bool leftText) {
  const int id = kFirstId + static_cast<int>(components_.size());
  HWND box = CreateWindowExW(0, L"BUTTON", caption,
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | (leftText ? BS_LEFTTEXT : 0), 0,
                             0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleW(nullptr), nullptr);
  SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  components_.push_back(box);
  return box;
}

// MS Sans Serif is a bitmap font, in a few sizes only; where the time does not fit the time edit in
// it, the shell's dialog font stands in.
void TfrmEditFileParams::ChooseFont() {
  const ui::ScopedFont bitmapFont = ui::CreatePointFont(L"MS Sans Serif", 8, dpi_);
  const wchar_t* face = TimeFitsIn(hwnd_, bitmapFont.get(), dpi_) ? L"MS Sans Serif" : L"MS Shell Dlg 2";
  std::vector<HWND> controls = components_;
  controls.push_back(hwnd_);
  UseFont(controls, face);
}

// The controls are made without a place; ArrangeControls places them for the dialog's DPI.
void TfrmEditFileParams::CreateControls() {
  TakeDpi();
  const int height = kClientHeight + (offersScope_ ? kScopeHeight : 0);
  const SIZE frame =
      ui::WindowSizeForClient(ui::Scale(kClientWidth, dpi_), ui::Scale(height, dpi_), kStyle, kExStyle, dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  ui::BuildToolbar(pnToolbar, hwnd_, ui::Bevel::Lowered, ui::Bevel::Raised, *this, Tables::kButtons, Tables::kBevels);
  components_.push_back(pnToolbar.Handle());
  pnToolbar.SetGlyphs(IDB_EDITORGLYPHS, dpi_);

  pnBack.Create(hwnd_, 0, 0, 0, 0, ui::Bevel::Raised, ui::Bevel::Lowered);
  components_.push_back(pnBack.Handle());
  cbSynchronize = AddCheckBox(pnBack.Handle(), L"S&ynchronize", false);

  pnAttributes.Create(hwnd_, 0, 0, 0, 0, ui::Bevel::Raised, ui::Bevel::Lowered);
  components_.push_back(pnAttributes.Handle());
  cbModify = AddCheckBox(pnAttributes.Handle(), L"Modify A&ttributes", false);
  for (const Tables::AttributeBox& box : Tables::kAttributes) {
    HWND wnd = AddCheckBox(pnAttributes.Handle(), box.Caption, false);
    EnableWindow(wnd, FALSE);
    this->*box.Field = wnd;
  }
  if (offersScope_) {
    pnScope.Create(hwnd_, 0, 0, 0, 0, ui::Bevel::Raised, ui::Bevel::Lowered);
    components_.push_back(pnScope.Handle());
    Scope.Create(pnScope.Handle(), true);
    components_.push_back(Scope.Label());
    components_.push_back(Scope.List());
  }
  ChooseFont();
  ArrangeControls();
}

void TfrmEditFileParams::ArrangeControls() {
  if (!pnAttributes.Handle()) return;  // not made yet
  ui::PlaceAll({{pnToolbar.Handle(), {0, 0, kClientWidth, kToolbarHeight}},
                {pnBack.Handle(), {0, kToolbarHeight, kClientWidth, kBackHeight}},
                {cbSynchronize, kSynchronize},
                {pnAttributes.Handle(), {0, kToolbarHeight + kBackHeight, kClientWidth, kAttributesHeight}},
                {cbModify, kModify}},
               dpi_);
  pnToolbar.Arrange(dpi_);
  for (int i = 0; i < kRowCount; ++i) {
    if (!edTimes[i]) continue;  // the rows are made after the panels
    ui::Place(cbTimes[i], kRowCheckBox, dpi_, kRowPitch * i);
    ui::Place(dtDates[i], kRowDate, dpi_, kRowPitch * i);
    ui::Place(edTimes[i]->Handle(), kRowTime, dpi_, kRowPitch * i);
  }
  for (const Tables::AttributeBox& box : Tables::kAttributes)
    ui::Place(this->*box.Field, {box.Left, box.Top, kAttributeWidth, kAttributeHeight}, dpi_);
  if (offersScope_) {
    ui::Place(pnScope.Handle(), {0, kClientHeight, kClientWidth, kScopeHeight}, dpi_);
    Scope.Place(6, 5, kClientWidth - 12, dpi_);
  }
}

void TfrmEditFileParams::CreateRows() {
  for (int i = 0; i < kRowCount; ++i) {
    cbTimes[i] = AddCheckBox(pnBack.Handle(), kRowBoxCaptions[i], true);
    SendMessageW(cbTimes[i], BM_SETCHECK, BST_CHECKED, 0);  // checked before any click can arrive
    dtDates[i] = CreateWindowExW(0, DATETIMEPICK_CLASSW, L"",
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | DTS_UPDOWN | DTS_SHORTDATEFORMAT, 0, 0, 0, 0,
                                 pnBack.Handle(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + components_.size())),
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(dtDates[i], WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
    components_.push_back(dtDates[i]);
    edTimes[i] = std::make_unique<pw::TkwTimeEdit>(pnBack.Handle(), 0, 0, 0, 0,
                                                   kFirstId + static_cast<int>(components_.size()));
    edTimes[i]->SetAccessibleName(kRowCaptions[i]);
    edTimes[i]->SetDpi(dpi_);  // the dialog may have moved to another monitor before its rows were made
    edTimes[i]->OnTimeChange = [this](pw::TkwTimeEdit& sender) { dtDateChange(sender.Handle()); };
    components_.push_back(edTimes[i]->Handle());
  }
}

// --- Form events -----------------------------------------------------------------------------

void TfrmEditFileParams::FormCreate() {
  POINT cursor{};
  GetCursorPos(&cursor);
  RECT wr{};
  GetWindowRect(hwnd_, &wr);
  const int width = wr.right - wr.left, height = wr.bottom - wr.top;
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  int left = cursor.x, top = cursor.y;
  if (screenWidth < left + width) left = screenWidth - width;
  if (screenHeight < top + height) top = screenHeight - height;
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  CreateRows();
  ArrangeControls();
  WheelSupport = std::make_unique<pw::TkwAddWheelSupport>(components_);
  // Tab order: Synchronize between the last row's date and its time.
  SetWindowPos(cbSynchronize, dtDates[kRowCount - 1], 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TfrmEditFileParams::FormShow() {
  const std::uint64_t stamps[kRowCount] = {fileData_.Created, fileData_.LastWrite, fileData_.LastAccess};
  for (int i = 0; i < kRowCount; ++i) SetRowDateTime(i, pw::FileTimeToLocalDateTime(stamps[i]));
  for (const Tables::AttributeBox& box : Tables::kAttributes)
    SendMessageW(this->*box.Field, BM_SETCHECK, (fileData_.Attributes & box.Bit) ? BST_CHECKED : BST_UNCHECKED, 0);
  std::array<double, kRowCount> shown{};
  for (int i = 0; i < kRowCount; ++i) shown[i] = RowValue(i);
  rowStamps_.Load({stamps[0], stamps[1], stamps[2]}, shown);
}

void TfrmEditFileParams::FormClose() {
  if (modalResult_ != mrOk) modalResult_ = mrCancel;
}

void TfrmEditFileParams::FormDestroy() { WheelSupport.reset(); }

int TfrmEditFileParams::ShowModal() {
  FormShow();
  // The toolbar's buttons come first in reading order; the focus starts on the first row.
  HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  for (std::size_t i = 0; i < components_.size() && first && IsChild(pnToolbar.Handle(), first); ++i)
    first = GetNextDlgTabItem(hwnd_, first, FALSE);
  return RunModal(first);
}

// --- Rows --------------------------------------------------------------------------------------

void TfrmEditFileParams::SetFileHandle(bool valid) {
  if (valid) return;
  EnableWindow(pnBack.Handle(), FALSE);
  for (int i = 0; i < kRowCount; ++i) {
    SendMessageW(cbTimes[i], BM_SETCHECK, BST_UNCHECKED, 0);
    cbTimesClick(i);
  }
}

bool TfrmEditFileParams::ModifyAttributes() const { return IsChecked(cbModify); }

double TfrmEditFileParams::DateOf(HWND dateControl) const {
  SYSTEMTIME st{};
  if (DateTime_GetSystemtime(dateControl, &st) != GDT_VALID) return 0;
  return pw::CalendarToDateTime(pw::FromSystemTime(st));
}

void TfrmEditFileParams::SetDate(HWND dateControl, double value) const {
  pw::CalendarTime t;
  if (!pw::DateTimeToCalendar(value, t)) return;
  SYSTEMTIME st = pw::ToSystemTime(t);
  DateTime_SetSystemtime(dateControl, GDT_VALID, &st);
}

double TfrmEditFileParams::RowValue(int row) const {
  return pw::JoinDateTime(WholeDays(DateOf(dtDates[row])), pw::SplitDateTime(edTimes[row]->GetTime()).msOfDay);
}

double TfrmEditFileParams::GetRowDateTime(int row) const { return IsChecked(cbTimes[row]) ? RowValue(row) : 0; }

void TfrmEditFileParams::SetRowDateTime(int row, double value) {
  updating_ = true;
  SetDate(dtDates[row], value);
  edTimes[row]->SetTime(value);
  updating_ = false;
}

void TfrmEditFileParams::SetAllRowsDateTime(double value) {
  for (int i = 0; i < kRowCount; ++i) SetRowDateTime(i, value);
}

void TfrmEditFileParams::UpdateButtonState() {
  bool any = IsChecked(cbModify);
  for (HWND box : cbTimes) any = any || IsChecked(box);
  Button(L"btnUpdate").SetEnabled(any);
}

int TfrmEditFileParams::RowOf(HWND control) const {
  for (int i = 0; i < kRowCount; ++i)
    if (control == dtDates[i] || (edTimes[i] && control == edTimes[i]->Handle())) return i;
  return -1;
}

pw::EditChoice TfrmEditFileParams::Choice() const {
  pw::EditChoice choice;
  std::optional<std::uint64_t>* fields[kRowCount] = {&choice.Times.Created, &choice.Times.LastWrite,
                                                      &choice.Times.LastAccess};
  for (int i = 0; i < kRowCount; ++i) {
    // The check box, not the value, says whether a time is written: a date before 30 December
    // 1899 has a value below zero and is written like any other.
    if (!IsChecked(cbTimes[i])) continue;
    *fields[i] = rowStamps_.StampFor(i, RowValue(i), pw::LocalDateTimeToFileTime);
  }
  choice.ModifyAttributes = ModifyAttributes();
  for (const Tables::AttributeBox& box : Tables::kAttributes)
    if (IsChecked(this->*box.Field)) choice.Attributes |= box.Bit;
  if (offersScope_) choice.Reach = Scope.Reach();
  return choice;
}

// --- Handlers ------------------------------------------------------------------------------------

void TfrmEditFileParams::cbTimesClick(int row) {
  const bool checked = IsChecked(cbTimes[row]);
  EnableWindow(dtDates[row], checked);
  EnableWindow(edTimes[row]->Handle(), checked);
  UpdateButtonState();
}

void TfrmEditFileParams::cbModifyClick() {
  const bool modify = IsChecked(cbModify);
  for (const Tables::AttributeBox& box : Tables::kAttributes) EnableWindow(this->*box.Field, modify);
  UpdateButtonState();
}

void TfrmEditFileParams::cbSynchronizeClick() {
  if (!IsChecked(cbSynchronize)) return;
  SetAllRowsDateTime(RowValue(0));
  rowStamps_.CopiedFrom(0);
}

void TfrmEditFileParams::dtDateChange(HWND sender) {
  const int row = RowOf(sender);
  if (updating_ || row < 0) return;
  rowStamps_.Changed(row);
  if (!IsChecked(cbSynchronize)) return;
  SetAllRowsDateTime(sender == dtDates[row] ? DateOf(sender) : edTimes[row]->GetTime());
  rowStamps_.CopiedFrom(row);
}

void TfrmEditFileParams::btnNowClick(const ui::Sender&) {
  SetAllRowsDateTime(pw::NowLocalDateTime());
  rowStamps_.ChangedAll();
}

void TfrmEditFileParams::btnClearTimeClick(const ui::Sender&) {
  updating_ = true;
  for (int i = 0; i < kRowCount; ++i) {
    SetDate(dtDates[i], WholeDays(DateOf(dtDates[i])));
    edTimes[i]->ClearTime();
  }
  updating_ = false;
  rowStamps_.ChangedAll();
}

void TfrmEditFileParams::btnUpdateClick(const ui::Sender&) {
  if (!Button(L"btnUpdate").Enabled()) return;
  modalResult_ = mrOk;
}

void TfrmEditFileParams::btnCancelClick(const ui::Sender&) { modalResult_ = mrCancel; }

// --- Messages ------------------------------------------------------------------------------------

void TfrmEditFileParams::OnCommand(WPARAM wp, LPARAM lp) {
  const HWND from = reinterpret_cast<HWND>(lp);
  if (!from) {
    // The dialog keys: Enter confirms, Esc cancels.
    if (LOWORD(wp) == IDOK) btnUpdateClick(ui::Sender{});
    if (LOWORD(wp) == IDCANCEL) btnCancelClick(ui::Sender{});
    return;
  }
  if (HIWORD(wp) != BN_CLICKED) return;
  for (int i = 0; i < kRowCount; ++i)
    if (from == cbTimes[i]) return cbTimesClick(i);
  if (from == cbModify) return cbModifyClick();
  if (from == cbSynchronize) return cbSynchronizeClick();
}

void TfrmEditFileParams::OnNotify(const NMHDR& hdr) {
  if (hdr.code == DTN_DATETIMECHANGE) dtDateChange(hdr.hwndFrom);
}

void TfrmEditFileParams::ApplyDpi(UINT) {
  if (!pnAttributes.Handle()) return;  // not made yet: the controls are made for the DPI then in place
  for (const auto& edit : edTimes)
    if (edit) edit->SetDpi(dpi_);  // the rows may not exist yet
  ChooseFont();
  pnToolbar.SetGlyphs(IDB_EDITORGLYPHS, dpi_);
}

LRESULT TfrmEditFileParams::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: CreateControls(); FormCreate(); return 0;
    case WM_COMMAND: OnCommand(wp, lp); return 0;
    case WM_NOTIFY: OnNotify(*reinterpret_cast<NMHDR*>(lp)); return 0;
    case WM_CLOSE: FormClose(); return 0;
    case WM_DESTROY: FormDestroy(); return 0;
    default: return Form::HandleMessage(msg, wp, lp);
  }
}
