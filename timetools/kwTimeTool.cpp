#include "timetools/kwTimeTool.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shobjidl.h>

#include <algorithm>
#include <cwchar>
#include <mutex>
#include <thread>

#include "common/platform/LocalTime.h"
#include "timetools/DiskFileSystem.h"
#include "ui/Dpi.h"
#include "ui/Failure.h"

namespace {

// The layout, in pixels at 96 dots per inch; the tool's own controls lie above the shared rows.
constexpr int kClientWidth = 360;
constexpr int kRowsHeight = 96, kTimesRowHeight = 28;
constexpr int kMargin = 10;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr UINT kWmReferenceRead = WM_APP + 1;  // wParam: the read's number
constexpr const wchar_t* kFieldCaptions[] = {L"&Created", L"&Modified", L"&Accessed"};

// Shift Times: the parts of the offset, with their largest values.
struct Part {
  const wchar_t* Caption;
  int Left, Width;
  int Largest;
};
constexpr Part kParts[] = {
    {L"&Days", 10, 60, 99999}, {L"&Hours", 80, 50, 23}, {L"M&inutes", 140, 55, 59}, {L"&Seconds", 205, 55, 59},
    {L"Millisec&onds", 270, 80, 999}};

std::wstring TextOf(HWND control) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::uint32_t NumberOf(HWND edit) {
  std::uint32_t value = 0;
  for (wchar_t c : TextOf(edit))
    if (c >= L'0' && c <= L'9' && value < 100'000'000) value = value * 10 + static_cast<std::uint32_t>(c - L'0');
  return value;
}

bool Checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

// ---- TfrmTimeTool ---------------------------------------------------------------------------------

TfrmTimeTool::TfrmTimeTool(const wchar_t* okCaption, int topHeight, bool offersScope, bool choosesTimes)
    : okCaption_(okCaption), topHeight_(topHeight), offersScope_(offersScope), choosesTimes_(choosesTimes) {}

TfrmTimeTool::~TfrmTimeTool() { DestroyForm(); }

void TfrmTimeTool::CreateToolWindow(HWND owner, const wchar_t* className, const wchar_t* title) {
  ClassSpec cls{className};
  CreateObjectWindow(cls, kExStyle, title, kStyle, 0, 0, 0, 0, owner, nullptr);
}

HWND TfrmTimeTool::AddControl(const wchar_t* windowClass, const wchar_t* text, DWORD style, int id) {
  HWND control = CreateWindowExW(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                 nullptr);
  controls_.push_back(control);
  return control;
}

void TfrmTimeTool::CreateControls() {
  TakeDpi();
  const int height = topHeight_ + kRowsHeight - (choosesTimes_ ? 0 : kTimesRowHeight);
  PlaceCentred(kClientWidth, height, kStyle, kExStyle);
  CreateTop();
  if (choosesTimes_) {
    lblTimes = AddControl(L"STATIC", L"Times:", 0);
    for (size_t i = 0; i < cbFields.size(); ++i) {
      cbFields[i] = AddControl(L"BUTTON", kFieldCaptions[i], WS_TABSTOP | BS_AUTOCHECKBOX);
      SendMessageW(cbFields[i], BM_SETCHECK, BST_CHECKED, 0);
    }
  }
  Scope.Create(hwnd_, offersScope_);
  controls_.push_back(Scope.Label());
  controls_.push_back(Scope.List());
  btnOK = AddControl(L"BUTTON", okCaption_, WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
  btnCancel = AddControl(L"BUTTON", L"Cancel", WS_TABSTOP, IDCANCEL);
  ApplyDpi(dpi_);
  ArrangeControls();
  UpdateOK();
}

void TfrmTimeTool::ApplyDpi(UINT) {
  if (btnCancel) UseFont(controls_);
}

void TfrmTimeTool::ArrangeControls() {
  if (!btnCancel) return;
  PlaceTop();
  int top = topHeight_;
  if (choosesTimes_) {
    PlaceScaled(lblTimes, {kMargin, top + 4, 60, 16});
    for (size_t i = 0; i < cbFields.size(); ++i)
      PlaceScaled(cbFields[i], {80 + static_cast<int>(i) * 90, top, 85, 20});
  } else {
    top -= kTimesRowHeight;
  }
  Scope.Place(kMargin, top + 28, kClientWidth - 2 * kMargin, dpi_);
  PlaceScaled(btnOK, {kClientWidth - 2 * (75 + kMargin), top + 64, 75, 23});
  PlaceScaled(btnCancel, {kClientWidth - 75 - kMargin, top + 64, 75, 23});
}

int TfrmTimeTool::ShowModal() {
  HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  return RunModal(first);
}

pw::TimeFields TfrmTimeTool::Fields() const {
  if (!choosesTimes_) return {};
  return pw::TimeFields{Checked(cbFields[0]), Checked(cbFields[1]), Checked(cbFields[2])};
}

void TfrmTimeTool::UpdateOK() const {
  if (btnOK) EnableWindow(btnOK, Ready() && Chosen());
}

LRESULT TfrmTimeTool::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: CreateControls(); return 0;
    case WM_CLOSE: modalResult_ = IDCANCEL; return 0;
    case WM_COMMAND: {
      const HWND from = reinterpret_cast<HWND>(lp);
      if (LOWORD(wp) == IDOK && IsWindowEnabled(btnOK)) modalResult_ = IDOK;
      else if (LOWORD(wp) == IDCANCEL) modalResult_ = IDCANCEL;
      else if (from) OnToolCommand(from, HIWORD(wp));
      UpdateOK();
      return 0;
    }
    default: return Form::HandleMessage(msg, wp, lp);
  }
}

// ---- TfrmShiftTimes -------------------------------------------------------------------------------

TfrmShiftTimes::TfrmShiftTimes(HWND owner, bool offersScope) : TfrmTimeTool(L"Shift", 80, offersScope) {
  CreateToolWindow(owner, L"TfrmShiftTimes", L"Shift Times");
}

TfrmShiftTimes::~TfrmShiftTimes() { DestroyForm(); }

void TfrmShiftTimes::CreateTop() {
  rbLater = AddControl(L"BUTTON", L"&Later", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON);
  rbEarlier = AddControl(L"BUTTON", L"&Earlier", BS_AUTORADIOBUTTON);
  SendMessageW(rbLater, BM_SETCHECK, BST_CHECKED, 0);
  for (size_t i = 0; i < edParts.size(); ++i) {
    lblParts[i] = AddControl(L"STATIC", kParts[i].Caption, 0);
    edParts[i] = AddControl(L"EDIT", L"0", WS_TABSTOP | WS_BORDER | ES_NUMBER | ES_RIGHT | WS_GROUP);
    udParts[i] = AddControl(UPDOWN_CLASSW, L"", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS);
    SendMessageW(udParts[i], UDM_SETBUDDY, reinterpret_cast<WPARAM>(edParts[i]), 0);
    SendMessageW(udParts[i], UDM_SETRANGE32, 0, kParts[i].Largest);
  }
}

void TfrmShiftTimes::PlaceTop() {
  PlaceScaled(rbLater, {kMargin, 8, 70, 20});
  PlaceScaled(rbEarlier, {90, 8, 70, 20});
  for (size_t i = 0; i < edParts.size(); ++i) {
    PlaceScaled(lblParts[i], {kParts[i].Left, 34, kParts[i].Width, 16});
    PlaceScaled(edParts[i], {kParts[i].Left, 50, kParts[i].Width, 21});
    // The up-down buttons keep to the right edge of their edit.
    SendMessageW(udParts[i], UDM_SETBUDDY, reinterpret_cast<WPARAM>(edParts[i]), 0);
  }
}

pw::TimeOffset TfrmShiftTimes::Offset() const {
  return pw::TimeOffset{Checked(rbEarlier), NumberOf(edParts[0]), NumberOf(edParts[1]), NumberOf(edParts[2]),
                        NumberOf(edParts[3]), NumberOf(edParts[4])};
}

bool TfrmShiftTimes::Ready() const {
  const std::optional<std::int64_t> ticks = Offset().Ticks();
  return ticks && *ticks != 0;
}

void TfrmShiftTimes::OnToolCommand(HWND, WORD) {}

// ---- TfrmCopyTimes --------------------------------------------------------------------------------

TfrmCopyTimes::TfrmCopyTimes(HWND owner, bool offersScope)
    : TfrmCopyTimes(offersScope, Role{.Title = L"Copy Times From", .OkCaption = L"Copy", .Label = L"&Reference:",
                                      .Prompt = L"Type or pick a file or folder whose times to copy.",
                                      .TopHeight = 116}) {
  CreateToolWindow(owner, L"TfrmCopyTimes", role_.Title);
}

TfrmCopyTimes::TfrmCopyTimes(bool offersScope, const Role& role)
    : TfrmTimeTool(role.OkCaption, role.TopHeight, offersScope), role_(role) {}

std::wstring TfrmCopyTimes::Describe(const pw::EntryInfo& reference) const {
  const pw::DateFormatter date = pw::UserDateFormat();
  return L"Created\t" + pw::ExactStampText(reference.Created, date) + L"\nModified\t" +
         pw::ExactStampText(reference.LastWrite, date) + L"\nAccessed\t" +
         pw::ExactStampText(reference.LastAccess, date);
}

TfrmCopyTimes::~TfrmCopyTimes() { DestroyForm(); }

void TfrmCopyTimes::CreateTop() {
  lblReference = AddControl(L"STATIC", role_.Label, 0);
  edReference = AddControl(L"EDIT", L"", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL);
  btnFile = AddControl(L"BUTTON", L"F&ile...", WS_TABSTOP);
  btnFolder = AddControl(L"BUTTON", L"F&older...", WS_TABSTOP);
  lblStamps = AddControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX);
  ReferenceChanged();
}

void TfrmCopyTimes::PlaceTop() {
  PlaceScaled(lblReference, {kMargin, 12, 60, 16});
  PlaceScaled(edReference, {80, 8, 270, 21});
  PlaceScaled(btnFile, {80, 34, 75, 23});
  PlaceScaled(btnFolder, {160, 34, 75, 23});
  PlaceScaled(lblStamps, {kMargin, 64, kClientWidth - 2 * kMargin, 44});
}

std::wstring TfrmCopyTimes::ReferencePath() const { return TextOf(edReference); }

// What a read of the reference found, handed from its thread to the window.
struct TfrmCopyTimes::Answer {
  std::mutex Lock;
  unsigned Asked = 0;
  std::optional<pw::EntryInfo> Info;
};

void TfrmCopyTimes::ReferenceChanged() {
  reference_.reset();
  ++asked_;  // an answer still on its way is for another path
  reading_ = !ReferencePath().empty();
  SetWindowTextW(lblStamps, reading_ ? L"" : role_.Prompt);
  if (reading_) SetTimer(hwnd_, kReadTimer, kReadPauseMs, nullptr);
  else KillTimer(hwnd_, kReadTimer);
}

void TfrmCopyTimes::ReadReference() {
  KillTimer(hwnd_, kReadTimer);
  if (!reading_) return;
  SetWindowTextW(lblStamps, L"Reading...");
  auto answer = std::make_shared<Answer>();
  answer_ = answer;
  const unsigned asked = asked_;
  const HWND window = hwnd_;
  // The thread owns what it needs; a window closed meanwhile just never gets the answer.
  std::thread([answer, asked, window, path = ReferencePath()] {
    pw::EntryInfo info;
    bool read = false;
    try {
      pw::DiskFileSystem disk;
      read = disk.ReadInfo(path, info) == pw::kFsOk;
    } catch (...) {
      ui::ReportFailure(L"Reading " + path);
    }
    {
      std::lock_guard<std::mutex> hold(answer->Lock);
      answer->Asked = asked;
      if (read) answer->Info = info;
    }
    PostMessageW(window, kWmReferenceRead, asked, 0);
  }).detach();
}

// The reference as its path stood when it was read: its stamps, or why there are none.
void TfrmCopyTimes::TakeReference(unsigned asked) {
  if (asked != asked_ || !answer_) return;
  {
    std::lock_guard<std::mutex> hold(answer_->Lock);
    if (answer_->Asked != asked_) return;
    reference_ = answer_->Info;
  }
  reading_ = false;
  const std::wstring text = reference_ ? Describe(*reference_) : L"There is no file or folder of that name.";
  SetWindowTextW(lblStamps, text.c_str());
  UpdateOK();
}

LRESULT TfrmCopyTimes::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kReadTimer) ReadReference();
      return 0;
    case kWmReferenceRead: TakeReference(static_cast<unsigned>(wp)); return 0;
    default: return TfrmTimeTool::HandleMessage(msg, wp, lp);
  }
}

void TfrmCopyTimes::PickFile() {
  wchar_t file[32768] = {};
  const std::wstring typed = ReferencePath();
  lstrcpynW(file, typed.c_str(), 32768);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = hwnd_;
  ofn.lpstrFile = file;
  ofn.nMaxFile = 32768;
  ofn.lpstrTitle = role_.Title;
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_EXPLORER;
  if (GetOpenFileNameW(&ofn)) SetWindowTextW(edReference, file);
}

void TfrmCopyTimes::PickFolder() {
  IFileOpenDialog* dialog = nullptr;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog)))) return;
  DWORD options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR);
  dialog->SetTitle(role_.Title);
  IShellItem* item = nullptr;
  if (SUCCEEDED(dialog->Show(hwnd_)) && SUCCEEDED(dialog->GetResult(&item))) {
    wchar_t* path = nullptr;
    if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
      SetWindowTextW(edReference, path);
      CoTaskMemFree(path);
    }
    item->Release();
  }
  dialog->Release();
}

bool TfrmCopyTimes::Ready() const { return reference_.has_value(); }

void TfrmCopyTimes::OnToolCommand(HWND from, WORD code) {
  if (from == edReference && code == EN_CHANGE) ReferenceChanged();
  else if (from == btnFile && code == BN_CLICKED) PickFile();
  else if (from == btnFolder && code == BN_CLICKED) PickFolder();
}

// ---- TfrmRestoreTimes -----------------------------------------------------------------------------

TfrmRestoreTimes::TfrmRestoreTimes(HWND owner, bool offersScope)
    : TfrmCopyTimes(offersScope,
                    Role{.Title = L"Restore Times", .OkCaption = L"Restore", .Label = L"&From:",
                         .Prompt = L"Type or pick a file of saved times, or a folder whose entries' times to give back.",
                         .TopHeight = 140}) {
  CreateToolWindow(owner, L"TfrmRestoreTimes", L"Restore Times");
}

TfrmRestoreTimes::~TfrmRestoreTimes() { DestroyForm(); }

void TfrmRestoreTimes::CreateTop() {
  TfrmCopyTimes::CreateTop();
  cbAttributes = AddControl(L"BUTTON", L"&Read only, hidden, system and archive too", WS_TABSTOP | BS_AUTOCHECKBOX);
}

void TfrmRestoreTimes::PlaceTop() {
  TfrmCopyTimes::PlaceTop();
  PlaceScaled(cbAttributes, {kMargin, 112, kClientWidth - 2 * kMargin, 20});
}

std::wstring TfrmRestoreTimes::Describe(const pw::EntryInfo& reference) const {
  return (reference.Attributes & FILE_ATTRIBUTE_DIRECTORY)
             ? L"A folder: each entry gets the times of the entry at the same place in it."
             : L"A file of saved times: each of its rows gives its entry here the times saved.";
}

bool TfrmRestoreTimes::SourceIsFolder() const {
  return Reference() && (Reference()->Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool TfrmRestoreTimes::Attributes() const { return Checked(cbAttributes); }

// ---- TfrmPlainTool and its tools -------------------------------------------------------------------

TfrmPlainTool::TfrmPlainTool(HWND owner, bool offersScope, const wchar_t* okCaption, bool choosesTimes,
                             const wchar_t* className, const wchar_t* title, const wchar_t* text)
    : TfrmTimeTool(okCaption, 36, offersScope, choosesTimes), text_(text) {
  CreateToolWindow(owner, className, title);
}

TfrmPlainTool::~TfrmPlainTool() { DestroyForm(); }

void TfrmPlainTool::CreateTop() { lblWhat = AddControl(L"STATIC", text_, 0); }

void TfrmPlainTool::PlaceTop() { PlaceScaled(lblWhat, {kMargin, 10, kClientWidth - 2 * kMargin, 16}); }

TfrmSaveTimes::TfrmSaveTimes(HWND owner, bool offersScope)
    : TfrmPlainTool(owner, offersScope, L"Save...", false, L"TfrmSaveTimes", L"Save Times",
                    L"The times and attributes go to a file you name next.") {}

TfrmSetNow::TfrmSetNow(HWND owner, bool offersScope)
    : TfrmPlainTool(owner, offersScope, L"Set", true, L"TfrmSetNow", L"Set to Now",
                    L"Every entry gets this moment in the checked times.") {}
