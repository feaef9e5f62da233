#include "editor/kwTimeEdit.h"

#include <string>

#include "common/core/DateTime.h"
#include "browse/core/FileText.h"
#include "common/platform/LocalTime.h"
#include "ui/Dpi.h"
#include "ui/HighContrast.h"
#include "ui/Scoped.h"

namespace pw {

namespace {

int SignedLow(LPARAM lp) { return static_cast<short>(LOWORD(lp)); }
int SignedHigh(LPARAM lp) { return static_cast<short>(HIWORD(lp)); }

COLORREF InkColour(SpinInk ink) {
  switch (ink) {
    case SpinInk::Highlight: return GetSysColor(COLOR_BTNHIGHLIGHT);
    case SpinInk::Shadow: return GetSysColor(COLOR_BTNSHADOW);
    case SpinInk::Face: return GetSysColor(COLOR_BTNFACE);
    case SpinInk::Text: return GetSysColor(COLOR_BTNTEXT);
    case SpinInk::GrayText: return GetSysColor(COLOR_GRAYTEXT);
    case SpinInk::Selected: return GetSysColor(COLOR_HIGHLIGHT);
    case SpinInk::SelectedText: return GetSysColor(COLOR_HIGHLIGHTTEXT);
    case SpinInk::Black: break;
  }
  return RGB(0, 0, 0);
}

template <size_t N>
void ToPoints(const std::array<SpinPoint, N>& in, POINT (&out)[N]) {
  for (size_t i = 0; i < N; ++i) out[i] = {in[i].x, in[i].y};
}

void DrawTriangle(HDC dc, const SpinTriangle& t) {
  const COLORREF c = InkColour(t.ink);
  ui::ScopedPen pen(CreatePen(PS_SOLID, 1, c));
  ui::ScopedBrush brush(CreateSolidBrush(c));
  ui::SelectObj usePen(dc, pen.get());
  ui::SelectObj useBrush(dc, brush.get());
  POINT pts[3];
  ToPoints(t.points, pts);
  Polygon(dc, pts, 3);
}

void DrawLine(HDC dc, const SpinLine& line) {
  ui::ScopedPen pen(CreatePen(PS_SOLID, 1, InkColour(line.ink)));
  ui::SelectObj usePen(dc, pen.get());
  POINT pts[3];
  ToPoints(line.points, pts);
  Polyline(dc, pts, line.count);
}

}  // namespace

// ---- TkwButton ---------------------------------------------------------------------------------

void TkwButton::SetPressed(bool value) {
  if (value == pressed_) return;
  pressed_ = value;
  Paint();
  Edit.accessible_.RaiseStateChange(Kind == kSpinUp ? 1 : 2);
}

void TkwButton::Paint() {
  const HWND wnd = Edit.Handle();
  if (!wnd) return;
  RECT client{};
  GetClientRect(wnd, &client);
  const bool enabled = IsWindowEnabled(wnd) != FALSE;
  SpinButtonPicture pic = SpinButtonLayout(Kind, client.right, client.bottom, pressed_, enabled, Edit.Metrics().spinColumn);
  if (ui::HighContrastOn()) pic = InHighContrast(pic, pressed_, enabled);
  Bounds = pic.bounds;

  ui::WindowDC dc(wnd);
  if (!dc) return;
  const RECT face{Bounds.left, Bounds.top, Bounds.right, Bounds.bottom};
  ui::ScopedBrush faceBrush(CreateSolidBrush(InkColour(pic.face)));
  FillRect(dc.get(), &face, faceBrush.get());
  for (int i = 0; i < pic.triangleCount; ++i) DrawTriangle(dc.get(), pic.triangles[static_cast<size_t>(i)]);
  for (const SpinLine& edge : pic.edges) DrawLine(dc.get(), edge);
  if (pic.separator) DrawLine(dc.get(), *pic.separator);
}

// ---- TkwTimeEdit: lifetime and value -----------------------------------------------------------

TkwTimeEdit::TkwTimeEdit(HWND parent, int left, int top, int width, int height, int tag)
    : tag_(tag), value_(NowLocalDateTime()), metrics_(TimeEditMetricsForDpi(static_cast<int>(ui::DpiOf(parent)))) {
  wnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                         left, top, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(tag)),
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  if (!wnd_) return;
  subclass_.Install(wnd_, [this](HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    return HandleMessage(msg, wp, lp, result);
  });
  accessible_.Attach(
      wnd_, 2, [this](int part) { return Describe(part); }, [this](int part) { return PressPart(part); });
  accessible_.ServeAutomation([this](const std::wstring& text) { return TakeWholeTime(text); });
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  SendMessageW(wnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ApplyRightMargin();
  ShowText(std::wstring(kClearedTimeText));
  UpdateButtonBounds();
}

void TkwTimeEdit::SetDpi(UINT dpi) {
  metrics_ = TimeEditMetricsForDpi(static_cast<int>(dpi));
  ApplyRightMargin();
  UpdateButtonBounds();
  InvalidateRect(wnd_, nullptr, TRUE);
}

// Hit tests use the last painted bounds; they are right before the first paint too.
void TkwTimeEdit::UpdateButtonBounds() {
  RECT client{};
  GetClientRect(wnd_, &client);
  UpButton.Bounds = SpinButtonBounds(kSpinUp, client.right, client.bottom, metrics_.spinColumn);
  DownButton.Bounds = SpinButtonBounds(kSpinDown, client.right, client.bottom, metrics_.spinColumn);
}

TkwTimeEdit::~TkwTimeEdit() {
  // The subclass forgets the window when the window goes first (its parent was destroyed).
  const bool windowAlive = subclass_.Installed();
  subclass_.Remove();
  if (windowAlive) DestroyWindow(wnd_);
}

void TkwTimeEdit::SetTime(double value) {
  value_ = value;
  const TimeOfDay t = TimeOfDayFromMilliseconds(SplitDateTime(value).msOfDay);
  ShowText(TimeOfDayText(t, UserTimeSeparator()));
}

double TkwTimeEdit::GetTime() const {
  return JoinDateTime(SplitDateTime(value_).days, TimeOfDayMilliseconds(TimeOfDayFromText(Text())));
}

void TkwTimeEdit::ClearTime() { ShowText(std::wstring(kClearedTimeText)); }

std::wstring TkwTimeEdit::Text() const {
  const int n = GetWindowTextLengthW(wnd_);
  std::wstring s(static_cast<size_t>(n) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(wnd_, s.data(), n + 1)));
  return s;
}

void TkwTimeEdit::ShowText(const std::wstring& text) {
  SetWindowTextW(wnd_, text.c_str());
  // Setting the text moves the caret; the current field stays the one shown selected.
  SelectCurrentField();
  accessible_.RaiseValueChange();
}

void TkwTimeEdit::ApplyRightMargin() {
  SendMessageW(wnd_, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, metrics_.rightMargin));
}

// ---- Field changes -----------------------------------------------------------------------------

void TkwTimeEdit::SelectCurrentField() {
  // Any range will do: the EM_SETSEL rule turns it into the current field.
  SendMessageW(wnd_, EM_SETSEL, 0, 0);
}

void TkwTimeEdit::SetFieldValue(int value) {
  const std::wstring text = Text();
  const std::wstring changed = WithTimeField(text, fieldIndex_, value);
  const TimeEditField& f = kTimeEditFields[static_cast<size_t>(fieldIndex_)];
  if (changed.size() == text.size()) {
    SelectCurrentField();
    const std::wstring digits = changed.substr(static_cast<size_t>(f.start), static_cast<size_t>(f.length));
    SendMessageW(wnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(digits.c_str()));
  } else {
    SetWindowTextW(wnd_, changed.c_str());  // the text had lost its shape: mend it whole
  }
  SelectCurrentField();
  accessible_.RaiseValueChange();
  if (OnTimeChange) OnTimeChange(*this);
}

void TkwTimeEdit::Step(int delta) { SetFieldValue(SteppedTimeField(Text(), fieldIndex_, delta)); }

void TkwTimeEdit::KeyDown(WPARAM key) {
  switch (key) {
    case VK_LEFT:
      fieldIndex_ = PreviousTimeField(fieldIndex_);
      accessible_.RaiseDescriptionChange();  // the description names the current field
      break;
    case VK_RIGHT:
      fieldIndex_ = NextTimeField(fieldIndex_);
      accessible_.RaiseDescriptionChange();
      break;
    case VK_UP: Step(+1); break;
    case VK_DOWN: Step(-1); break;
    default: break;
  }
  SelectCurrentField();
}

void TkwTimeEdit::Char(wchar_t ch) {
  if (auto value = TypedTimeField(Text(), fieldIndex_, ch)) SetFieldValue(*value);
}

// ---- What screen readers are told ---------------------------------------------------------------

ui::AccessibleFacts TkwTimeEdit::Describe(int part) const {
  ui::AccessibleFacts facts;
  const std::wstring field(TimeFieldName(fieldIndex_));
  if (part == 0) {
    facts.Name = accessibleName_;
    facts.Role = ROLE_SYSTEM_TEXT;
    facts.Value = Text();
    facts.Description = field + L" selected; Left and Right choose hours, minutes, seconds or milliseconds, "
                                L"Up, Down or digits change them";
    if (GetWindowLongW(wnd_, GWL_STYLE) & ES_READONLY) facts.State |= STATE_SYSTEM_READONLY;
    return facts;
  }
  const TkwButton& button = part == 1 ? UpButton : DownButton;
  facts.Name = part == 1 ? L"Up" : L"Down";
  facts.Role = ROLE_SYSTEM_PUSHBUTTON;
  facts.Description = (part == 1 ? L"One more in the " : L"One less in the ") + field;
  facts.DefaultAction = L"Press";
  facts.KeyboardShortcut = part == 1 ? L"Up" : L"Down";  // the arrow keys do the same
  if (button.Pressed()) facts.State |= STATE_SYSTEM_PRESSED;
  facts.Bounds = {button.Bounds.left, button.Bounds.top, button.Bounds.right, button.Bounds.bottom};
  return facts;
}

bool TkwTimeEdit::PressPart(int part) {
  if ((part != 1 && part != 2) || !ui::EnabledWithParents(wnd_)) return false;
  Step(part == 1 ? +1 : -1);
  return true;
}

bool TkwTimeEdit::TakeWholeTime(const std::wstring& text) {
  const std::optional<TimeOfDay> time = ParseTimeEditText(text);
  if (!time) return false;
  ShowText(TimeOfDayText(*time, UserTimeSeparator()));
  if (OnTimeChange) OnTimeChange(*this);
  return true;
}

// ---- Mouse and auto-repeat ---------------------------------------------------------------------

bool TkwTimeEdit::Press(WPARAM wp, LPARAM lp, bool doubleClick) {
  SetFocus(wnd_);
  capture_.take(wnd_);
  SelectCurrentField();
  const int x = SignedLow(lp), y = SignedHigh(lp);
  for (TkwButton* button : {&UpButton, &DownButton}) {
    if (SpinRectContains(button->Bounds, x, y)) {
      button->Armed = true;
      button->SetPressed(true);
      EnableRepeatTimer(true);
      Step(button->Kind == kSpinUp ? +1 : -1);
      return true;
    }
  }
  RECT client{};
  GetClientRect(wnd_, &client);
  if (doubleClick || x >= client.right - metrics_.hitMargin) return true;
  // The edit places the caret; its position picks the field.
  subclass_.CallPrevious(WM_LBUTTONDOWN, wp, lp);
  DWORD caret = 0;
  SendMessageW(wnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
  fieldIndex_ = TimeFieldAtCaret(static_cast<int>(caret));
  SelectCurrentField();
  return true;
}

void TkwTimeEdit::Release() {
  capture_.release();
  StopSpinning();
}

void TkwTimeEdit::StopSpinning() {
  for (TkwButton* button : {&UpButton, &DownButton}) {
    button->Armed = false;
    button->SetPressed(false);
  }
  EnableRepeatTimer(false);
  SetRepeatTimerInterval(FirstRepeatDelay);
}

void TkwTimeEdit::MouseMove(LPARAM lp) {
  const int x = SignedLow(lp), y = SignedHigh(lp);
  for (TkwButton* button : {&UpButton, &DownButton})
    button->SetPressed(button->Armed && SpinRectContains(button->Bounds, x, y));
}

void TkwTimeEdit::TimerTick() {
  // A tick the system delivered before the timer was stopped must not step, nor shorten the next
  // first delay.
  if (!timerEnabled_) return;
  if (UpButton.Pressed())
    Step(+1);
  else if (DownButton.Pressed())
    Step(-1);
  SetRepeatTimerInterval(RepeatInterval);
}

void TkwTimeEdit::EnableRepeatTimer(bool enabled) {
  timerEnabled_ = enabled;
  if (enabled)
    SetTimer(wnd_, RepeatTimerId, timerInterval_, nullptr);
  else
    KillTimer(wnd_, RepeatTimerId);
}

void TkwTimeEdit::SetRepeatTimerInterval(UINT interval) {
  timerInterval_ = interval;
  if (timerEnabled_) SetTimer(wnd_, RepeatTimerId, timerInterval_, nullptr);
}

// ---- Messages ----------------------------------------------------------------------------------

void TkwTimeEdit::Paint(WPARAM wp, LPARAM lp) {
  // The buttons go on top of whatever the edit painted, so the edit paints first.
  subclass_.CallPrevious(WM_PAINT, wp, lp);
  UpButton.Paint();
  DownButton.Paint();
}

bool TkwTimeEdit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  *result = 0;
  switch (msg) {
    case WM_PAINT: Paint(wp, lp); return true;
    case WM_SETCURSOR: *result = TRUE; return true;
    case WM_KEYDOWN: KeyDown(wp); return true;
    case WM_CHAR: Char(static_cast<wchar_t>(wp)); return true;
    case WM_MOUSEMOVE: MouseMove(lp); return true;
    case WM_LBUTTONDOWN: return Press(wp, lp, false);
    case WM_LBUTTONUP: Release(); return true;
    case WM_LBUTTONDBLCLK: Release(); return Press(wp, lp, true);
    case WM_RBUTTONDOWN: return true;
    case WM_GETOBJECT: return accessible_.AnswerGetObject(wp, lp, result);
    case WM_NCDESTROY: accessible_.Detach(); return false;
    case WM_NCHITTEST: HideCaret(nullptr); return false;
    case EM_SETSEL: {
      const TimeEditField& f = kTimeEditFields[static_cast<size_t>(fieldIndex_)];
      *result = subclass_.CallPrevious(EM_SETSEL, static_cast<WPARAM>(f.start),
                                       static_cast<LPARAM>(f.start + f.length));
      return true;
    }
    case WM_TIMER:
      if (wp != RepeatTimerId) return false;
      TimerTick();
      return true;
    case WM_SIZE:
      UpdateButtonBounds();
      return false;
    case WM_CAPTURECHANGED:
      // Capture taken away mid-press (another window, a system menu): no button up will come, so
      // stop here rather than keep stepping.
      if (reinterpret_cast<HWND>(lp) != wnd_) StopSpinning();
      return false;
    case WM_SETFONT:
      // A new font brings the edit's own margins back; the buttons need theirs.
      *result = subclass_.CallPrevious(msg, wp, lp);
      ApplyRightMargin();
      return true;
    // The text keeps its fixed shape: nothing pastes, cuts, clears or undoes, and no context menu
    // offers to.
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case WM_CONTEXTMENU:
    case WM_IME_CHAR:
      return true;
    case WM_SYSKEYDOWN:
      return wp == VK_BACK;  // Alt+Backspace is the edit's undo key
    default:
      return false;
  }
}

}  // namespace pw
