#include "about/kwCorvaltAbout.h"

#include <shellapi.h>
#include <winver.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "resources/resource.h"
#include "ui/Dpi.h"
#include "ui/Pictures.h"

namespace {

// The layout, in pixels at 96 dots per inch.
struct Bounds {
  int Left, Top, Width, Height;
};
constexpr int kImageHeight = 91, kContactHeight = 175;
constexpr int kPictureLeft = 96, kTextLeft = 136, kPictureSize = 32;
constexpr int kWebTop = 22, kMailTop = 53, kLinkWidth = 200, kLinkHeight = 13;
constexpr int kWebPictureTop = 12, kMailPictureTop = 43, kPostPictureTop = 103;
constexpr Bounds kProduct{56, 24, 231, 33}, kVersion{58, 62, 231, 13}, kAddress{kTextLeft, 87, 106, 39},
    kOK{273, 271, 75, 23};
constexpr int kFontHeight = 11, kProductFontHeight = 24;
constexpr COLORREF kNavy = RGB(0, 0, 128);
const wchar_t kProductCaption[] = L"Pathwick for Windows";
const wchar_t kMailSubject[] = L"?Subject= Corvalt Enquiry";

std::wstring LoadText(UINT id) {
  const wchar_t* text = nullptr;
  const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

// The product version as the program's file properties show it, read from its own version
// resource, so that the box cannot tell another version than the file (and its installer) does.
std::wstring ProductVersionText() {
  wchar_t path[MAX_PATH + 1]{};
  const DWORD pathLength = GetModuleFileNameW(nullptr, path, MAX_PATH + 1);
  if (pathLength == 0 || pathLength > MAX_PATH) return {};
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  if (size == 0) return {};
  std::vector<BYTE> info(size);
  if (!GetFileVersionInfoW(path, 0, size, info.data())) return {};
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(info.data(), L"\\StringFileInfo\\040904B0\\ProductVersion", &value, &length) || length == 0)
    return {};
  // The length counts the terminating null where there is one.
  std::wstring text(static_cast<const wchar_t*>(value), length);
  text.resize(wcsnlen(text.c_str(), text.size()));
  return text;
}

// Fonts are given by the height of their characters in pixels at 96 DPI.
ui::ScopedFont MakeFont(const wchar_t* face, int height, bool underline, UINT dpi) {
  return ui::CreatePixelFont(face, ui::Scale(height, dpi), underline);
}

// The room a text takes in the font, all of its lines.
SIZE TextSize(HFONT font, const wchar_t* text) {
  ui::WindowDC screen(nullptr);
  ui::SelectObj selected(screen.get(), font);
  RECT room{};
  DrawTextW(screen.get(), text, -1, &room, DT_CALCRECT | DT_NOPREFIX);
  return SIZE{room.right, room.bottom};
}

}  // namespace

// The controls go with the window while the fonts they use still exist.
TfrmAbout::~TfrmAbout() { DestroyForm(); }

bool TfrmAbout::Create() {
  ClassSpec cls{L"TfrmAbout"};
  return CreateObjectWindow(cls, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, L"frmAbout",
                            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0, 0, kWidth, kHeight,
                            GetActiveWindow(), nullptr) != nullptr;
}

SIZE TfrmAbout::Size() const { return SIZE{ui::Scale(kWidth, dpi_), ui::Scale(kHeight, dpi_)}; }

void TfrmAbout::SetCaption(const std::wstring& caption) const { SetWindowTextW(hwnd_, caption.c_str()); }

int TfrmAbout::ShowModal() {
  if (!hwnd_) return 0;
  SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - Size().cx) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - Size().cy) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  return RunModal(btnOK);
}

HWND TfrmAbout::CreateLabel(HWND parent, DWORD style, const std::wstring& text) const {
  return CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX | style, 0, 0, 0, 0, parent,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

// The controls are made without a place; ArrangeControls places them for the box's DPI.
void TfrmAbout::CreateControls() {
  TakeDpi();
  SetWindowPos(hwnd_, nullptr, 0, 0, Size().cx, Size().cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  // First among the children, so it is first in the tab order.
  btnOK = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0,
                          hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), GetModuleHandleW(nullptr),
                          nullptr);
  pnlImage.Create(hwnd_, 0, 0, 0, 0, ui::Bevel::Raised, ui::Bevel::Lowered);
  pnlContact.Create(hwnd_, 0, 0, 0, 0, ui::Bevel::Raised, ui::Bevel::Lowered);
  lblProduct = CreateLabel(pnlImage.Handle(), SS_OWNERDRAW, kProductCaption);
  lblVersion = CreateLabel(pnlImage.Handle(), SS_LEFTNOWORDWRAP, L"");
  const HWND contact = pnlContact.Handle();
  imWeb = CreateLabel(contact, SS_OWNERDRAW, L"");
  LabelWeb = CreateLabel(contact, SS_NOTIFY | SS_LEFTNOWORDWRAP, L"");
  imMail = CreateLabel(contact, SS_OWNERDRAW, L"");
  LabelMail = CreateLabel(contact, SS_NOTIFY | SS_LEFTNOWORDWRAP, L"");
  imPost = CreateLabel(contact, SS_OWNERDRAW, L"");
  const std::wstring address =
      LoadText(IDS_POSTNAME) + L"\r\n" + LoadText(IDS_POSTSTREET) + L"\r\n" + LoadText(IDS_POSTCITY);
  lblAddress = CreateLabel(contact, SS_LEFTNOWORDWRAP, address);
  MakeLink(LabelWeb, webLink_, &TfrmAbout::LabelWebClick);
  MakeLink(LabelMail, mailLink_, &TfrmAbout::LabelMailClick);
  ApplyFonts();
  LoadPictures();
}

void TfrmAbout::ApplyFonts() {
  ui::ScopedFont font = MakeFont(L"Tahoma", kFontHeight, false, dpi_);
  ui::ScopedFont product = MakeFont(L"Tahoma", kProductFontHeight, false, dpi_);
  ui::ScopedFont link = MakeFont(L"MS Sans Serif", kFontHeight, true, dpi_);
  ui::ScopedFont button = MakeFont(L"MS Sans Serif", kFontHeight, false, dpi_);
  const auto set = [](HWND wnd, const ui::ScopedFont& f) {
    SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(f.get()), FALSE);
  };
  for (HWND wnd : {hwnd_, lblVersion, imWeb, imMail, imPost, lblAddress}) set(wnd, font);
  set(lblProduct, product);
  for (HWND wnd : {LabelWeb, LabelMail}) set(wnd, link);
  set(btnOK, button);
  // The controls have let go of the old fonts only now.
  font_ = std::move(font);
  productFont_ = std::move(product);
  linkFont_ = std::move(link);
  buttonFont_ = std::move(button);
}

void TfrmAbout::LoadPictures() {
  webPicture_ = ui::LoadPicture(IDB_ABOUTWEB, kPictureSize, dpi_);
  mailPicture_ = ui::LoadPicture(IDB_ABOUTMAIL, kPictureSize, dpi_);
  postPicture_ = ui::LoadPicture(IDB_ABOUTPOST, kPictureSize, dpi_);
}

void TfrmAbout::ArrangeControls() {
  const auto s = [this](int value) { return ui::Scale(value, dpi_); };
  const auto place = [](HWND wnd, int x, int y, int w, int h) {
    SetWindowPos(wnd, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  const auto placeScaled = [&](HWND wnd, const Bounds& b) { place(wnd, s(b.Left), s(b.Top), s(b.Width), s(b.Height)); };
  RECT client{};
  GetClientRect(hwnd_, &client);
  place(pnlImage.Handle(), 0, 0, client.right, s(kImageHeight));
  place(pnlContact.Handle(), 0, s(kImageHeight), client.right, s(kContactHeight));
  placeScaled(btnOK, kOK);

  // Where the font is wider than the one the box was laid out with, the caption grows to the right
  // instead of losing its last letters; the light pass lies 2 pixels further.
  const SIZE caption = TextSize(productFont_.get(), kProductCaption);
  place(lblProduct, s(kProduct.Left), s(kProduct.Top), std::max<int>(s(kProduct.Width), caption.cx + 2),
        std::max<int>(s(kProduct.Height), caption.cy + 2));
  // A picture's box is as large as the picture drawn for the DPI.
  const auto placePicture = [&](HWND wnd, int top, const ui::Picture& picture) {
    const int size = picture.Bitmap ? picture.Size : s(kPictureSize);
    place(wnd, s(kPictureLeft), s(top), size, size);
  };
  placePicture(imWeb, kWebPictureTop, webPicture_);
  placePicture(imMail, kMailPictureTop, mailPicture_);
  placePicture(imPost, kPostPictureTop, postPicture_);
  // Fonts do not grow in proportion with the DPI: a text that needs more room than its scaled box
  // gets it, instead of losing its last line or its underline.
  const auto placeText = [&](HWND wnd, const Bounds& b, bool fixedWidth) {
    const int length = GetWindowTextLengthW(wnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(wnd, text.data(), length + 1);
    const SIZE need = TextSize(reinterpret_cast<HFONT>(SendMessageW(wnd, WM_GETFONT, 0, 0)), text.c_str());
    place(wnd, s(b.Left), s(b.Top), fixedWidth ? s(b.Width) : std::max<int>(s(b.Width), need.cx),
          std::max<int>(s(b.Height), need.cy));
  };
  placeText(LabelWeb, {kTextLeft, kWebTop, kLinkWidth, kLinkHeight}, true);
  placeText(LabelMail, {kTextLeft, kMailTop, kLinkWidth, kLinkHeight}, true);
  placeText(lblAddress, kAddress, false);
  placeText(lblVersion, kVersion, false);
}

// --- Events ----------------------------------------------------------------------------------

void TfrmAbout::FormCreate() {
  webAddress_ = LoadText(IDS_WEBADDRESS);
  mailAddress_ = LoadText(IDS_MAILADDRESS);
  SetWindowTextW(LabelWeb, webAddress_.c_str());
  SetWindowTextW(LabelMail, mailAddress_.c_str());
  const std::wstring version = ProductVersionText();
  if (!version.empty()) SetWindowTextW(lblVersion, (L"Version " + version).c_str());
}

void TfrmAbout::MakeLink(HWND label, Link& link, void (TfrmAbout::*click)()) {
  // After OK in the tab order, as they come after it in the window's children.
  SetWindowLongW(label, GWL_STYLE, GetWindowLongW(label, GWL_STYLE) | WS_TABSTOP);
  link.access.Attach(
      label, 0,
      [label](int) {
        ui::AccessibleFacts facts;
        const int n = GetWindowTextLengthW(label);
        facts.Name.resize(static_cast<size_t>(n) + 1);
        facts.Name.resize(static_cast<size_t>(GetWindowTextW(label, facts.Name.data(), n + 1)));
        facts.Role = ROLE_SYSTEM_LINK;
        facts.State = STATE_SYSTEM_LINKED;
        facts.DefaultAction = L"Jump";
        return facts;
      },
      [this, click](int) {
        (this->*click)();
        return true;
      });
  Link* const linkPtr = &link;
  link.hook.Install(label, [this, linkPtr, click](HWND wnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    switch (msg) {
      case WM_GETOBJECT: return linkPtr->access.AnswerGetObject(wp, lp, result);
      case WM_NCDESTROY: linkPtr->access.Detach(); return false;
      case WM_GETDLGCODE: {
        // Enter opens the focused link rather than pressing OK.
        const MSG* m = reinterpret_cast<const MSG*>(lp);
        *result = DLGC_STATIC | (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN ? DLGC_WANTMESSAGE : 0);
        return true;
      }
      case WM_KEYDOWN:
        if (wp != VK_RETURN && wp != VK_SPACE) return false;
        (this->*click)();
        return true;
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        InvalidateRect(wnd, nullptr, TRUE);
        return false;
      case WM_PAINT: {
        *result = linkPtr->hook.CallPrevious(msg, wp, lp);
        if (GetFocus() == wnd) {
          RECT r{};
          GetClientRect(wnd, &r);
          const ui::WindowDC dc(wnd);
          DrawFocusRect(dc.get(), &r);
        }
        return true;
      }
      default: return false;
    }
  });
}

void TfrmAbout::LabelWebClick() { OpenWithShell(webAddress_); }

// The subject is handed on as it stands, unencoded: mail programs take it that way.
void TfrmAbout::LabelMailClick() { OpenWithShell(L"mailto:" + mailAddress_ + kMailSubject); }

void TfrmAbout::btnOKClick() { modalResult_ = IDOK; }

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

// The picture's bottom-left pixel names its transparent colour. It is drawn at its own size.
void TfrmAbout::DrawPicture(const DRAWITEMSTRUCT& dis, HBITMAP picture) const {
  FillRect(dis.hDC, &dis.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  BITMAP bm{};
  if (!picture || !GetObjectW(picture, sizeof(bm), &bm)) return;
  ui::MemoryDC source(dis.hDC);
  ui::SelectObj selected(source.get(), picture);
  const COLORREF transparent = GetPixel(source.get(), 0, bm.bmHeight - 1);
  TransparentBlt(dis.hDC, dis.rcItem.left, dis.rcItem.top, bm.bmWidth, bm.bmHeight, source.get(), 0, 0, bm.bmWidth,
                 bm.bmHeight, transparent);
}

// --- Messages --------------------------------------------------------------------------------

void TfrmAbout::OnCreate() {
  CreateControls();
  FormCreate();
  ArrangeControls();  // with the texts in place: a text may need more room than its box
}

void TfrmAbout::OnCommand(WPARAM wp, LPARAM lp) {
  const HWND from = reinterpret_cast<HWND>(lp);
  if (from && from == LabelWeb && HIWORD(wp) == STN_CLICKED) LabelWebClick();
  else if (from && from == LabelMail && HIWORD(wp) == STN_CLICKED) LabelMailClick();
  else if (LOWORD(wp) == IDOK) btnOKClick();
  else if (LOWORD(wp) == IDCANCEL) modalResult_ = IDCANCEL;
}

void TfrmAbout::OnDrawItem(const DRAWITEMSTRUCT& dis) const {
  if (dis.hwndItem == lblProduct) DrawEngraved(dis);
  else if (dis.hwndItem == imWeb) DrawPicture(dis, webPicture_.Bitmap.get());
  else if (dis.hwndItem == imMail) DrawPicture(dis, mailPicture_.Bitmap.get());
  else if (dis.hwndItem == imPost) DrawPicture(dis, postPicture_.Bitmap.get());
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
  info.ptMinTrackSize = info.ptMaxTrackSize = info.ptMaxSize = POINT{Size().cx, Size().cy};
}

void TfrmAbout::OnWindowPosChanging(WINDOWPOS& pos) const {
  if (pos.flags & SWP_NOSIZE) return;
  pos.cx = Size().cx;
  pos.cy = Size().cy;
}

void TfrmAbout::ApplyDpi(UINT) {
  if (!btnOK) return;  // not made yet: the controls are made for the DPI then in place
  ApplyFonts();
  LoadPictures();
}

// OK takes the focus whenever the box is activated; Tab goes on to the links.
void TfrmAbout::OnActivate(WPARAM wp) const {
  if (LOWORD(wp) != WA_INACTIVE && btnOK) SetFocus(btnOK);
}

LRESULT TfrmAbout::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_CLOSE: modalResult_ = IDCANCEL; return 0;
    case WM_COMMAND: OnCommand(wp, lp); return 0;
    case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp)); return TRUE;
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wp), LOWORD(lp))) return TRUE;
      return Form::HandleMessage(msg, wp, lp);
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lp)); return 0;
    case WM_WINDOWPOSCHANGING:
      OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lp));
      return Form::HandleMessage(msg, wp, lp);
    case WM_ACTIVATE: OnActivate(wp); return 0;
    default: return Form::HandleMessage(msg, wp, lp);
  }
}
