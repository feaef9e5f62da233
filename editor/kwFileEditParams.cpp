#include "editor/kwFileEditParams.h"

#include <commctrl.h>

#include <cmath>

#include "common/core/DateTime.h"
#include "common/platform/LocalTime.h"
#include "resources/resource.h"
#include "ui/Dpi.h"
#include "ui/Modal.h"
#include "ui/Pictures.h"

namespace {

// The layout, in pixels at 96 dots per inch.
constexpr int kClientWidth = 254, kClientHeight = 185;
constexpr int kToolbarHeight = 29, kBackHeight = 108, kAttributesHeight = 48;
constexpr int kFontPoints = 8;
constexpr int kFirstId = 100;  // clear of IDOK and IDCANCEL, which the dialog keys send
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;

constexpr const wchar_t* kRowCaptions[TfrmEditFileParams::kRowCount] = {L"Created", L"Modified", L"Accessed"};

struct Bounds {
  int Left, Top, Width, Height;
};

// The three rows, each 24 pixels below the one before.
constexpr int kRowPitch = 24;
constexpr Bounds kRowCheckBox{4, 13, 65, 17}, kRowDate{71, 11, 85, 21}, kRowTime{159, 11, 90, 21};

struct ButtonRow {
  ui::SpeedButton TfrmEditFileParams::*Field;
  Bounds Place;
  const wchar_t* Hint;
  const wchar_t* Caption;
  void (TfrmEditFileParams::*Click)(const ui::Sender&);
};
// In the order of their glyphs in the strip.
const ButtonRow kButtons[] = {
    {&TfrmEditFileParams::btnNow, {4, 3, 22, 23}, L"Set now", L"", &TfrmEditFileParams::btnNowClick},
    {&TfrmEditFileParams::btnClearTime, {28, 3, 23, 23}, L"Clear time", L"", &TfrmEditFileParams::btnClearTimeClick},
    {&TfrmEditFileParams::btnUpdate, {116, 3, 65, 23}, L"Update", L"Update", &TfrmEditFileParams::btnUpdateClick},
    {&TfrmEditFileParams::btnCancel, {184, 3, 65, 23}, L"Cancel", L"Cancel", &TfrmEditFileParams::btnCancelClick},
};
constexpr Bounds kBevel{54, 5, 2, 19};
constexpr Bounds kSynchronize{9, 85, 80, 17}, kModify{9, 8, 100, 17};

struct AttributeBox {
  HWND TfrmEditFileParams::*Field;
  const wchar_t* Caption;
  int Left, Top;
  std::uint32_t Bit;
};
constexpr int kAttributeWidth = 70, kAttributeHeight = 17;
const AttributeBox kAttributeBoxes[] = {
    {&TfrmEditFileParams::cbReadOnly, L"Read only", 111, 8, 0x01},
    {&TfrmEditFileParams::cbHidden, L"Hidden", 181, 8, 0x02},
    {&TfrmEditFileParams::cbSystem, L"System", 111, 24, 0x04},
    {&TfrmEditFileParams::cbArchive, L"Archive", 181, 24, 0x20},
};

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

// The window is sized for its DPI once it exists and has one (CreateControls).
TfrmEditFileParams::TfrmEditFileParams(HWND owner) {
  ClassSpec cls{L"TfrmEditFileParams"};
  CreateObjectWindow(cls, kExStyle, L"", kStyle, 0, 0, kClientWidth, kClientHeight, owner, nullptr);
}

TfrmEditFileParams::~TfrmEditFileParams() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void TfrmEditFileParams::SetCaption(const std::wstring& caption) const { SetWindowTextW(hwnd_, caption.c_str()); }

HWND TfrmEditFileParams::AddCheckBox(HWND parent, const wchar_t* caption, bool leftText) {
  const int id = kFirstId + static_cast<int>(components_.size());
  HWND box = CreateWindowExW(0, L"BUTTON", caption,
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | (leftText ? BS_LEFTTEXT : 0), 0,
                             0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleW(nullptr), nullptr);
  SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  components_.push_back(box);
  return box;
}

// MS Sans Serif is a bitmap font, in a few sizes only; where the time does not fit the time edit in
// it, the shell's dialog font stands in.
void TfrmEditFileParams::ChooseFont() {
  ui::ScopedFont font = ui::CreatePointFont(L"MS Sans Serif", kFontPoints, dpi_);
  if (!TimeFitsIn(hwnd_, font.get(), dpi_)) font = ui::CreatePointFont(L"MS Shell Dlg 2", kFontPoints, dpi_);
  const auto handle = reinterpret_cast<WPARAM>(font.get());
  SendMessageW(hwnd_, WM_SETFONT, handle, FALSE);
  for (HWND control : components_) SendMessageW(control, WM_SETFONT, handle, FALSE);
  // The controls have let go of the old font only now.
  font_ = std::move(font);
}

void TfrmEditFileParams::SetGlyphs() {
  const ui::Picture glyphs = ui::LoadPicture(IDB_EDITORGLYPHS, 16, dpi_);
  if (!glyphs.Bitmap) return;
  const int size = glyphs.Size;
  int glyph = 0;
  for (const ButtonRow& row : kButtons) {
    (this->*row.Field).SetGlyph(ui::CutPicture(glyphs.Bitmap.get(), glyph, size, size).get(), 1, RGB(255, 0, 255));
    ++glyph;
  }
}

// The controls are made without a place; ArrangeControls places them for the dialog's DPI.
void TfrmEditFileParams::CreateControls() {
  dpi_ = ui::DpiOf(hwnd_);
  const SIZE frame =
      ui::WindowSizeForClient(ui::Scale(kClientWidth, dpi_), ui::Scale(kClientHeight, dpi_), kStyle, kExStyle, dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  pnToolbar.Create(hwnd_, 0, 0, 0, 0, ui::Bevel::Lowered, ui::Bevel::Raised);
  components_.push_back(pnToolbar.Handle());
  for (const ButtonRow& row : kButtons) {
    ui::SpeedButton& button = this->*row.Field;
    button.Create(pnToolbar.Handle(), 0, 0, 0, 0);
    button.SetHint(row.Hint);
    if (*row.Caption) button.SetCaption(row.Caption);
    button.OnClick = [this, click = row.Click](ui::SpeedButton& sender) {
      (this->*click)(ui::Sender{sender.Tag, nullptr, &sender});
    };
  }
  SetGlyphs();
  Bevel1 = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDVERT, 0, 0, 0, 0, pnToolbar.Handle(),
                           nullptr, GetModuleHandleW(nullptr), nullptr);

  pnBack.Create(hwnd_, 0, 0, 0, 0, ui::Bevel::Raised, ui::Bevel::Lowered);
  components_.push_back(pnBack.Handle());
  cbSynchronize = AddCheckBox(pnBack.Handle(), L"Synchronize", false);

  pnAttributes.Create(hwnd_, 0, 0, 0, 0, ui::Bevel::Raised, ui::Bevel::Lowered);
  components_.push_back(pnAttributes.Handle());
  cbModify = AddCheckBox(pnAttributes.Handle(), L"Modify Attributes", false);
  for (const AttributeBox& box : kAttributeBoxes) {
    HWND wnd = AddCheckBox(pnAttributes.Handle(), box.Caption, false);
    EnableWindow(wnd, FALSE);
    this->*box.Field = wnd;
  }
  ChooseFont();
  ArrangeControls();
}

void TfrmEditFileParams::ArrangeControls() const {
  const auto place = [this](HWND wnd, const Bounds& b, int down = 0) {
    const auto s = [this](int value) { return ui::Scale(value, dpi_); };
    SetWindowPos(wnd, nullptr, s(b.Left), s(b.Top + down), s(b.Width), s(b.Height), SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(pnToolbar.Handle(), {0, 0, kClientWidth, kToolbarHeight});
  for (const ButtonRow& row : kButtons) place((this->*row.Field).Handle(), row.Place);
  // An etched line is two system lines of one pixel at any DPI; a wider window draws it otherwise.
  SetWindowPos(Bevel1, nullptr, ui::Scale(kBevel.Left, dpi_), ui::Scale(kBevel.Top, dpi_), kBevel.Width,
               ui::Scale(kBevel.Height, dpi_), SWP_NOZORDER | SWP_NOACTIVATE);
  place(pnBack.Handle(), {0, kToolbarHeight, kClientWidth, kBackHeight});
  place(cbSynchronize, kSynchronize);
  for (int i = 0; i < kRowCount; ++i) {
    if (!edTimes[i]) continue;  // the rows are made after the panels
    place(cbTimes[i], kRowCheckBox, kRowPitch * i);
    place(dtDates[i], kRowDate, kRowPitch * i);
    place(edTimes[i]->Handle(), kRowTime, kRowPitch * i);
  }
  place(pnAttributes.Handle(), {0, kToolbarHeight + kBackHeight, kClientWidth, kAttributesHeight});
  place(cbModify, kModify);
  for (const AttributeBox& box : kAttributeBoxes)
    place(this->*box.Field, {box.Left, box.Top, kAttributeWidth, kAttributeHeight});
}

void TfrmEditFileParams::CreateRows() {
  for (int i = 0; i < kRowCount; ++i) {
    cbTimes[i] = AddCheckBox(pnBack.Handle(), kRowCaptions[i], true);
    SendMessageW(cbTimes[i], BM_SETCHECK, BST_CHECKED, 0);  // checked before any click can arrive
    dtDates[i] = CreateWindowExW(0, DATETIMEPICK_CLASSW, L"",
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | DTS_UPDOWN | DTS_SHORTDATEFORMAT, 0, 0, 0, 0,
                                 pnBack.Handle(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + components_.size())),
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(dtDates[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    components_.push_back(dtDates[i]);
    edTimes[i] = std::make_unique<pw::TkwTimeEdit>(pnBack.Handle(), 0, 0, 0, 0,
                                                   kFirstId + static_cast<int>(components_.size()));
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
  const std::uint64_t stamps[kRowCount] = {FileData.Created, FileData.LastWrite, FileData.LastAccess};
  for (int i = 0; i < kRowCount; ++i) SetRowDateTime(i, pw::FileTimeToLocalDateTime(stamps[i]));
  for (const AttributeBox& box : kAttributeBoxes)
    SendMessageW(this->*box.Field, BM_SETCHECK, (FileData.Attributes & box.Bit) ? BST_CHECKED : BST_UNCHECKED, 0);
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
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  if (first) SetFocus(first);
  ui::RunModal(hwnd_, [this] { return modalResult_ != mrNone; });
  if (modalResult_ == mrNone) modalResult_ = mrCancel;
  return modalResult_;
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
  btnUpdate.SetEnabled(any);
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
  for (const AttributeBox& box : kAttributeBoxes)
    if (IsChecked(this->*box.Field)) choice.Attributes |= box.Bit;
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
  for (const AttributeBox& box : kAttributeBoxes) EnableWindow(this->*box.Field, modify);
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
  if (!btnUpdate.Enabled()) return;
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

void TfrmEditFileParams::OnDpiChanged(WPARAM wp, LPARAM lp) {
  const ui::DpiChange change = ui::ReadDpiChange(wp, lp);
  dpi_ = change.Dpi;
  for (const auto& edit : edTimes)
    if (edit) edit->SetDpi(dpi_);  // the rows may not exist yet
  ChooseFont();
  SetGlyphs();
  const RECT& r = change.Suggested;
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ArrangeControls();
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

LRESULT TfrmEditFileParams::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: CreateControls(); FormCreate(); return 0;
    case WM_COMMAND: OnCommand(wp, lp); return 0;
    case WM_NOTIFY: OnNotify(*reinterpret_cast<NMHDR*>(lp)); return 0;
    case WM_CLOSE: FormClose(); return 0;
    case WM_DESTROY: FormDestroy(); return 0;
    case ui::kWmDpiChanged: OnDpiChanged(wp, lp); return 0;
    default: return Window::HandleMessage(msg, wp, lp);
  }
}
