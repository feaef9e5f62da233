#include "editor/core/TimeEditRules.h"

#include <algorithm>
#include <cmath>

#include "ui/core/DpiScale.h"

namespace pw {

namespace {

const TimeEditField& FieldAt(int field) {
  if (field < 0) field = 0;
  if (field >= kTimeEditFieldCount) field = kTimeEditFieldCount - 1;
  return kTimeEditFields[static_cast<size_t>(field)];
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

int ReadDigits(std::wstring_view text, int start, int length) {
  int value = 0;
  for (int i = start; i < start + length; ++i) {
    wchar_t c = i < static_cast<int>(text.size()) ? text[static_cast<size_t>(i)] : L'0';
    value = value * 10 + (IsDigit(c) ? c - L'0' : 0);
  }
  return value;
}

void AppendPadded(std::wstring& out, int value, int length) {
  std::wstring digits = std::to_wstring(value);
  if (static_cast<int>(digits.size()) < length)
    out.append(static_cast<size_t>(length) - digits.size(), L'0');
  out += digits;
}

}  // namespace

int PreviousTimeField(int field) { return (field + 3) % kTimeEditFieldCount; }
int NextTimeField(int field) { return (field + 1) % kTimeEditFieldCount; }

int TimeFieldAtCaret(int caret) {
  if (caret < 3) return 0;
  if (caret < 6) return 1;
  if (caret < 9) return 2;
  return 3;
}

int BringTimeFieldIntoRange(int field, int value) {
  const TimeEditField& f = FieldAt(field);
  const int span = f.highest + 1;
  if (value < 0) value += span;
  if (value > f.highest) value = f.length == 3 ? value - span : value % 10;
  // A single step or digit never leaves the range after that; anything wilder is folded in so the
  // field always keeps its width.
  if (value < 0 || value > f.highest) value = ((value % span) + span) % span;
  return value;
}

int ReadTimeField(std::wstring_view text, int field) {
  const TimeEditField& f = FieldAt(field);
  return ReadDigits(text, f.start, f.length);
}

std::wstring WithTimeField(std::wstring_view text, int field, int value) {
  const TimeEditField& f = FieldAt(field);
  std::wstring result(text);
  const auto end = static_cast<size_t>(f.start + f.length);
  if (result.size() < end) {
    for (size_t i = result.size(); i < end; ++i)
      result += i < kClearedTimeText.size() ? kClearedTimeText[i] : L'0';
  }
  std::wstring digits;
  AppendPadded(digits, BringTimeFieldIntoRange(field, value), f.length);
  result.replace(static_cast<size_t>(f.start), static_cast<size_t>(f.length), digits);
  return result;
}

int SteppedTimeField(std::wstring_view text, int field, int delta) {
  const int span = FieldAt(field).highest + 1;
  return ((ReadTimeField(text, field) + delta) % span + span) % span;
}

std::optional<int> TypedTimeField(std::wstring_view text, int field, wchar_t ch) {
  if (!IsDigit(ch)) return std::nullopt;
  const TimeEditField& f = FieldAt(field);
  return ReadDigits(text, f.start + 1, f.length - 1) * 10 + (ch - L'0');
}

bool SpinRectContains(const SpinRect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// The margins are scaled as gaps beside the column, not on their own: rounded separately they could
// come out as wide as the column itself.
TimeEditMetrics TimeEditMetricsForDpi(int dpi) {
  const int column = ScaleToDpi(kSpinColumnWidth, dpi);
  const int hitGap = std::max(1, ScaleToDpi(kSpinHitMargin - kSpinColumnWidth, dpi));
  const int textGap = std::max(hitGap + 1, ScaleToDpi(kTimeEditRightMargin - kSpinColumnWidth, dpi));
  return {column, column + hitGap, column + textGap};
}

SpinRect SpinButtonBounds(int kind, int clientWidth, int clientHeight, int columnWidth) {
  const int h = clientHeight / 2;
  if (kind == kSpinUp) return {clientWidth - columnWidth, 0, clientWidth, h};
  return {clientWidth - columnWidth, h + 1, clientWidth, 2 * h + 1};
}

SpinArrow SpinButtonArrow(int kind, const SpinRect& b, bool shifted) {
  SpinArrow a;
  a.center = {b.left + (b.right - b.left) / 2, b.top + (b.bottom - b.top) / 2};
  if (shifted) {
    ++a.center.x;
    ++a.center.y;
  }
  const int d = b.bottom - b.top;
  if (d >= 17) {
    a.height = 4;
    a.width = 7;
  } else {
    a.height = d / 2 - 2;
    a.width = 2 * a.height - 1;
  }
  const int cx = a.center.x, cy = a.center.y, n = a.height, w = a.width;
  if (kind == kSpinUp)
    a.points = {{{cx, cy - n / 2 + 1}, {cx - w / 2, cy + n / 2}, {cx + w / 2, cy + n / 2}}};
  else
    a.points = {{{cx - w / 2, cy - n / 2}, {cx + w / 2, cy - n / 2}, {cx, cy + n / 2 - 1}}};
  return a;
}

std::array<SpinLine, 2> SpinButtonEdges(const SpinRect& b, bool pressed) {
  const int l = b.left, t = b.top, r = b.right, bt = b.bottom;
  if (pressed)
    return {{{SpinInk::Shadow, 3, {{{l, bt - 1}, {l, t}, {r, t}}}},
             {SpinInk::Black, 3, {{{l + 1, bt - 2}, {l + 1, t + 1}, {r - 1, t + 1}}}}}};
  return {{{SpinInk::Highlight, 3, {{{l + 1, bt - 2}, {l + 1, t + 1}, {r - 1, t + 1}}}},
           {SpinInk::Shadow, 3, {{{l + 1, bt - 1}, {r - 1, bt - 1}, {r - 1, t}}}}}};
}

SpinLine SpinSeparatorLine(int clientWidth, int clientHeight, bool upPressed, int columnWidth) {
  const int h = clientHeight / 2;
  SpinLine line;
  line.ink = upPressed ? SpinInk::Highlight : SpinInk::Black;
  line.count = 2;
  line.points = {{{clientWidth - columnWidth, h}, {clientWidth, h}, {}}};
  return line;
}

SpinButtonPicture SpinButtonLayout(int kind, int clientWidth, int clientHeight, bool pressed,
                                   bool enabled, int columnWidth) {
  SpinButtonPicture p;
  p.bounds = SpinButtonBounds(kind, clientWidth, clientHeight, columnWidth);
  const SpinArrow arrow = SpinButtonArrow(kind, p.bounds, pressed || !enabled);
  if (enabled) {
    p.triangleCount = 1;
    p.triangles[0] = {SpinInk::Black, arrow.points};
  } else {
    p.triangleCount = 2;
    p.triangles[0] = {SpinInk::Highlight, arrow.points};
    p.triangles[1].ink = SpinInk::Shadow;
    for (size_t i = 0; i < 3; ++i)
      p.triangles[1].points[i] = {arrow.points[i].x - 1, arrow.points[i].y - 1};
  }
  p.edges = SpinButtonEdges(p.bounds, pressed);
  if (kind == kSpinUp) p.separator = SpinSeparatorLine(clientWidth, clientHeight, pressed, columnWidth);
  return p;
}

SpinButtonPicture InHighContrast(SpinButtonPicture picture, bool pressed, bool enabled) {
  picture.face = pressed && enabled ? SpinInk::Selected : SpinInk::Face;
  const SpinInk ink = !enabled ? SpinInk::GrayText : pressed ? SpinInk::SelectedText : SpinInk::Text;
  // The embossed pair of a disabled edit starts with the arrow in its own place.
  picture.triangleCount = 1;
  picture.triangles[0].ink = ink;
  for (SpinLine& edge : picture.edges) edge.ink = ink;
  if (picture.separator) picture.separator->ink = SpinInk::Text;  // on the edit's ground, between faces
  return picture;
}

std::optional<TimeOfDay> ParseTimeEditText(std::wstring_view text) {
  if (text.size() != kClearedTimeText.size()) return std::nullopt;
  std::array<int, kTimeEditFieldCount> values{};
  for (int i = 0; i < kTimeEditFieldCount; ++i) {
    const TimeEditField& f = kTimeEditFields[static_cast<size_t>(i)];
    int value = 0;
    for (int c = f.start; c < f.start + f.length; ++c) {
      const wchar_t ch = text[static_cast<size_t>(c)];
      if (ch < L'0' || ch > L'9') return std::nullopt;
      value = value * 10 + (ch - L'0');
    }
    if (value > f.highest) return std::nullopt;
    // The character after a field (none after the last) separates it from the next.
    const size_t after = static_cast<size_t>(f.start + f.length);
    if (i + 1 < kTimeEditFieldCount && text[after] >= L'0' && text[after] <= L'9') return std::nullopt;
    values[static_cast<size_t>(i)] = value;
  }
  return TimeOfDay{values[0], values[1], values[2], values[3]};
}

std::wstring_view TimeFieldName(int field) {
  constexpr std::array<std::wstring_view, kTimeEditFieldCount> names{L"hours", L"minutes", L"seconds",
                                                                     L"milliseconds"};
  return names[static_cast<size_t>(field >= 0 && field < kTimeEditFieldCount ? field : 0)];
}

}  // namespace pw
