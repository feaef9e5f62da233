#include "about/kwCorvaltAbout.h"

#include <shellapi.h>

#include <algorithm>

#include "resources/resource.h"
#include "ui/Modal.h"

namespace {

constexpr int kImageHeight = 91, kContactHeight = 175;
constexpr int kPictureLeft = 96, kTextLeft = 136, kPictureSize = 32;
constexpr int kLinkWidth = 200, kLinkHeight = 13;
constexpr COLORREF kNavy = RGB(0, 0, 128);
const wchar_t kProductCaption[] = L"Pathwick for Windows";
const wchar_t kMailSubject[] = L"?Subject= Corvalt Enquiry";

std::wstring LoadText(UINT id) {
  const wchar_t* text = nullptr;
  const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

HBITMAP LoadPicture(int id) {
  return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP,
                                         0, 0, LR_CREATEDIBSECTION));
}

// Fonts are given by the height of their characters in pixels.
HFONT MakeFont(const wchar_t* face, int height, bool underline) {
  LOGFONTW lf{};
  lf.lfHeight = -height;
  lf.lfWeight = FW_NORMAL;
  lf.lfUnderline = underline ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  return CreateFontIndirectW(&lf);
}

SIZE TextSize(HFONT font, const wchar_t* text) {
  ui::WindowDC screen(nullptr);
  ui::SelectObj selected(screen.get(), font);
  SIZE size{};
  GetTextExtentPoint32W(screen.get(), text, lstrlenW(text), &size);
  return size;
}

int CALLBACK NoteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

// MS Sans Serif is a bitmap font that not every system has; the shell's dialog font stands in.
const wchar_t* SansSerifFace() {
  ui::WindowDC screen(nullptr);
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExW(screen.get(), &lf, NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
  return found ? L"MS Sans Serif" : L"MS Shell Dlg";
}

}  // namespace

TfrmAbout::~TfrmAbout() {
  // The controls go with the window while the fonts they use still exist.
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

bool TfrmAbout::Create() {
  ClassSpec cls{L"TfrmAbout"};
  return CreateObjectWindow(cls, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, L"frmAbout",
                            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0, 0, kWidth, kHeight,
                            GetActiveWindow(), nullptr) != nullptr;
}

void TfrmAbout::SetCaption(const std::wstring& caption) const { SetWindowTextW(hwnd_, caption.c_str()); }

int TfrmAbout::ShowModal() {
  if (!hwnd_) return 0;
  ModalResult = 0;
  SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(hwnd_, SW_SHOW);
  SetFocus(btnOK);
  ui::RunModal(hwnd_, [this] { return ModalResult != 0; });
  if (ModalResult == 0) ModalResult = IDCANCEL;
  return ModalResult;
}

HWND TfrmAbout::CreateLabel(HWND parent, int x, int y, int w, int h, DWORD style, const std::wstring& text,
                            HFONT font) const {
  HWND label = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX | style, x, y,
                               w, h, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return label;
}

void TfrmAbout::CreateControls() {
  font_.reset(MakeFont(L"Tahoma", 11, false));
  productFont_.reset(MakeFont(L"Tahoma", 24, false));
  const wchar_t* sansSerif = SansSerifFace();
  linkFont_.reset(MakeFont(sansSerif, 11, true));
  buttonFont_.reset(MakeFont(sansSerif, 11, false));
  webPicture_.reset(LoadPicture(IDB_ABOUTWEB));
  mailPicture_.reset(LoadPicture(IDB_ABOUTMAIL));
  postPicture_.reset(LoadPicture(IDB_ABOUTPOST));
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

  // First among the children, so it is first in the tab order.
  btnOK = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 273, 271,
                          75, 23, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)),
                          GetModuleHandleW(nullptr), nullptr);
  SendMessageW(btnOK, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_.get()), FALSE);

  RECT client{};
  GetClientRect(hwnd_, &client);
  pnlImage.Create(hwnd_, 0, 0, client.right, kImageHeight, ui::Bevel::Raised, ui::Bevel::Lowered);
  pnlContact.Create(hwnd_, 0, kImageHeight, client.right, kContactHeight, ui::Bevel::Raised, ui::Bevel::Lowered);

  // Where the font is wider than the one the box was laid out with, the caption grows to the right
  // instead of losing its last letters; the light pass lies 2 pixels further.
  const SIZE caption = TextSize(productFont_.get(), kProductCaption);
  lblProduct = CreateLabel(pnlImage.Handle(), 56, 24, std::max<int>(231, caption.cx + 2),
                           std::max<int>(33, caption.cy + 2), SS_OWNERDRAW, kProductCaption, productFont_.get());
  const HWND contact = pnlContact.Handle();
  imWeb = CreateLabel(contact, kPictureLeft, 12, kPictureSize, kPictureSize, SS_OWNERDRAW, L"", font_.get());
  LabelWeb = CreateLabel(contact, kTextLeft, 22, kLinkWidth, kLinkHeight, SS_NOTIFY | SS_LEFTNOWORDWRAP, L"",
                         linkFont_.get());
  imMail = CreateLabel(contact, kPictureLeft, 43, kPictureSize, kPictureSize, SS_OWNERDRAW, L"", font_.get());
  LabelMail = CreateLabel(contact, kTextLeft, 53, kLinkWidth, kLinkHeight, SS_NOTIFY | SS_LEFTNOWORDWRAP, L"",
                          linkFont_.get());
  imPost = CreateLabel(contact, kPictureLeft, 103, kPictureSize, kPictureSize, SS_OWNERDRAW, L"", font_.get());
  const std::wstring address =
      LoadText(IDS_POSTNAME) + L"\r\n" + LoadText(IDS_POSTSTREET) + L"\r\n" + LoadText(IDS_POSTCITY);
  lblAddress = CreateLabel(contact, kTextLeft, 87, 106, 39, SS_LEFTNOWORDWRAP, address, font_.get());
}

// --- Events ----------------------------------------------------------------------------------

void TfrmAbout::FormCreate() {
  webAddress_ = LoadText(IDS_WEBADDRESS);
  mailAddress_ = LoadText(IDS_MAILADDRESS);
  SetWindowTextW(LabelWeb, webAddress_.c_str());
  SetWindowTextW(LabelMail, mailAddress_.c_str());
}

void TfrmAbout::LabelWebClick() { OpenWithShell(webAddress_); }

// The subject is handed on as it stands, unencoded: mail programs take it that way.
void TfrmAbout::LabelMailClick() { OpenWithShell(L"mailto:" + mailAddress_ + kMailSubject); }

void TfrmAbout::btnOKClick() { ModalResult = IDOK; }

// Without a browser or a mail program the shell fails; the box simply stays as it is.
void TfrmAbout::OpenWithShell(const std::wstring& target) const {
  ShellExecuteW(hwnd_, L"Open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// --- Drawing ---------------------------------------------------------------------------------

// Three passes of the text: dark, then light 2 pixels right and down, then in the background
// colour between the two, which leaves of each letter only a dark edge at its upper left and a
// light edge at its lower right.
void TfrmAbout::DrawEngraved(const DRAWITEMSTRUCT& dis) const {
  HDC dc = dis.hDC;
  RECT rc = dis.rcItem;
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  ui::SelectObj font(dc, productFont_.get());
  SetBkMode(dc, TRANSPARENT);
  const UINT format = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
  rc.right -= 2;
  SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  DrawTextW(dc, kProductCaption, -1, &rc, format);
  OffsetRect(&rc, 2, 2);
  SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  DrawTextW(dc, kProductCaption, -1, &rc, format);
  OffsetRect(&rc, -1, -1);
  SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
  DrawTextW(dc, kProductCaption, -1, &rc, format);
}

// The picture's bottom-left pixel names its transparent colour.
void TfrmAbout::DrawPicture(const DRAWITEMSTRUCT& dis, HBITMAP picture) const {
  FillRect(dis.hDC, &dis.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  BITMAP bm{};
  if (!picture || !GetObjectW(picture, sizeof(bm), &bm)) return;
  ui::MemoryDC source(dis.hDC);
  ui::SelectObj selected(source.get(), picture);
  const COLORREF transparent = GetPixel(source.get(), 0, bm.bmHeight - 1);
  TransparentBlt(dis.hDC, dis.rcItem.left, dis.rcItem.top, kPictureSize, kPictureSize, source.get(), 0, 0,
                 bm.bmWidth, bm.bmHeight, transparent);
}

// --- Messages --------------------------------------------------------------------------------

void TfrmAbout::OnCreate() {
  CreateControls();
  FormCreate();
}

void TfrmAbout::OnCommand(WPARAM wp, LPARAM lp) {
  const HWND from = reinterpret_cast<HWND>(lp);
  if (from && from == LabelWeb && HIWORD(wp) == STN_CLICKED) LabelWebClick();
  else if (from && from == LabelMail && HIWORD(wp) == STN_CLICKED) LabelMailClick();
  else if (LOWORD(wp) == IDOK) btnOKClick();
  else if (LOWORD(wp) == IDCANCEL) ModalResult = IDCANCEL;
}

void TfrmAbout::OnDrawItem(const DRAWITEMSTRUCT& dis) const {
  if (dis.hwndItem == lblProduct) DrawEngraved(dis);
  else if (dis.hwndItem == imWeb) DrawPicture(dis, webPicture_.get());
  else if (dis.hwndItem == imMail) DrawPicture(dis, mailPicture_.get());
  else if (dis.hwndItem == imPost) DrawPicture(dis, postPicture_.get());
}

// The labels lie on the panels' plain face, which is what shows around their text.
LRESULT TfrmAbout::OnCtlColorStatic(HDC dc, HWND control) const {
  COLORREF color = GetSysColor(COLOR_WINDOWTEXT);
  if (control == LabelWeb || control == LabelMail) color = GetSysColor(COLOR_HIGHLIGHT);
  else if (control == lblAddress) color = kNavy;
  SetTextColor(dc, color);
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

bool TfrmAbout::OnSetCursor(HWND wnd, UINT hit) const {
  if (hit != HTCLIENT || (wnd != LabelWeb && wnd != LabelMail)) return false;
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  return true;
}

// Equal smallest and largest sizes: the box can be neither resized nor maximised.
void TfrmAbout::OnGetMinMaxInfo(MINMAXINFO& info) const {
  info.ptMinTrackSize = info.ptMaxTrackSize = info.ptMaxSize = POINT{kWidth, kHeight};
}

void TfrmAbout::OnWindowPosChanging(WINDOWPOS& pos) const {
  if (pos.flags & SWP_NOSIZE) return;
  pos.cx = kWidth;
  pos.cy = kHeight;
}

// OK is the box's one control that takes the focus.
void TfrmAbout::OnActivate(WPARAM wp) const {
  if (LOWORD(wp) != WA_INACTIVE && btnOK) SetFocus(btnOK);
}

LRESULT TfrmAbout::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_CLOSE: ModalResult = IDCANCEL; return 0;
    case WM_COMMAND: OnCommand(wp, lp); return 0;
    case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp)); return TRUE;
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wp), LOWORD(lp))) return TRUE;
      return Window::HandleMessage(msg, wp, lp);
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lp)); return 0;
    case WM_WINDOWPOSCHANGING:
      OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lp));
      return Window::HandleMessage(msg, wp, lp);
    case WM_ACTIVATE: OnActivate(wp); return 0;
    default: return Window::HandleMessage(msg, wp, lp);
  }
}
