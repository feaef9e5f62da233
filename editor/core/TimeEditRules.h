#pragma once
// The rules of the time edit, free of any window: the fixed "hh:mm:ss:zzz" text and its four
// fields, how a field is stepped or typed into, which field a caret position belongs to, the split
// of a date-time into whole days and time of day, and the geometry of the two painted spin buttons.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "common/core/DateTime.h"

namespace pw {

// ---- Fields of the text -------------------------------------------------------------------------

struct TimeEditField {
  int start;    // 0-based character index in the text
  int length;   // characters
  int highest;  // largest value in range; the lowest is always 0
};

inline constexpr int kTimeEditFieldCount = 4;  // hours, minutes, seconds, milliseconds
inline constexpr std::array<TimeEditField, kTimeEditFieldCount> kTimeEditFields{{
    {0, 2, 23},
    {3, 2, 59},
    {6, 2, 59},
    {9, 3, 999},
}};
inline constexpr std::wstring_view kClearedTimeText = L"00:00:00:000";

// Left and Right keys: the fields form a ring.
int PreviousTimeField(int field);
int NextTimeField(int field);

// The field a caret position falls in: before 3 hours, before 6 minutes, before 9 seconds, else
// milliseconds.
int TimeFieldAtCaret(int caret);

// Brings a field value into range: below 0 it wraps by adding the field's span (24, 60, 60, 1000);
// two-digit fields above range keep only their last digit, milliseconds above range lose 1000.
int BringTimeFieldIntoRange(int field, int value);

// The field's characters read from the text by position, as a number. Characters that are missing
// or not digits count as 0, so a text that lost its shape never fails to read.
int ReadTimeField(std::wstring_view text, int field);

// The text with the field replaced by the value brought into range, zero-padded to the field's
// length. A text shorter than the field's end is first padded with the cleared text's characters.
std::wstring WithTimeField(std::wstring_view text, int field, int value);

// The value a step gives: the read value + 1 or - 1, wrapping round the field's range (23 steps
// up to 00, 00 down to 23).
int SteppedTimeField(std::wstring_view text, int field, int delta);

// The raw value a typed character gives: the field's characters without the first, followed by
// the digit. Nothing for characters other than 0 to 9.
std::optional<int> TypedTimeField(std::wstring_view text, int field, wchar_t ch);

// A whole time as an assistive tool sets it: two-digit hours, minutes and seconds and three-digit
// milliseconds, one separator (anything but a digit) between them, each field in range. Nothing
// for any other text.
std::optional<TimeOfDay> ParseTimeEditText(std::wstring_view text);

// The field's name as a screen reader says it ("hours", "minutes", "seconds", "milliseconds").
std::wstring_view TimeFieldName(int field);

// ---- Spin buttons ------------------------------------------------------------------------------

struct SpinPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const SpinPoint&, const SpinPoint&) = default;
};

struct SpinRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const SpinRect&, const SpinRect&) = default;
};

// Right and bottom edges are outside, as for the platform's rectangles.
bool SpinRectContains(const SpinRect& r, int x, int y);

inline constexpr int kSpinUp = 0;
inline constexpr int kSpinDown = 1;
// Sizes at 96 dots per inch.
inline constexpr int kSpinColumnWidth = 16;
// Presses at or right of client width minus this are never text clicks.
inline constexpr int kSpinHitMargin = 17;
inline constexpr int kTimeEditRightMargin = 19;

// The spin column's width, the hit margin and the text's right margin at a DPI: the column scaled,
// the margins as gaps beside it, so at every DPI the text keeps clear of the column and a press
// just left of it is still no text click.
struct TimeEditMetrics {
  int spinColumn = kSpinColumnWidth;
  int hitMargin = kSpinHitMargin;
  int rightMargin = kTimeEditRightMargin;
  friend bool operator==(const TimeEditMetrics&, const TimeEditMetrics&) = default;
};
TimeEditMetrics TimeEditMetricsForDpi(int dpi);

// The button's area for a client of the given size: the up button fills the top half of the
// spin column, the down button the half below the separator row.
SpinRect SpinButtonBounds(int kind, int clientWidth, int clientHeight, int columnWidth = kSpinColumnWidth);

struct SpinArrow {
  SpinPoint center;
  int height = 0;  // n
  int width = 0;   // w
  std::array<SpinPoint, 3> points;
};

// The arrow of a button, centred across its column; pressed buttons and buttons of a disabled edit
// draw it one pixel right and down.
SpinArrow SpinButtonArrow(int kind, const SpinRect& bounds, bool shifted);

// Black, and the button colours of the system; the last five are the ones a high-contrast scheme
// sets: button face and text, grey text, and the highlight with its text.
enum class SpinInk { Black, Highlight, Shadow, Face, Text, GrayText, Selected, SelectedText };

struct SpinLine {
  SpinInk ink = SpinInk::Black;
  int count = 0;  // points used
  std::array<SpinPoint, 3> points;
};

// The two edge lines of a raised or pressed button, in drawing order.
std::array<SpinLine, 2> SpinButtonEdges(const SpinRect& bounds, bool pressed);

// The line between the buttons, drawn with the up button.
SpinLine SpinSeparatorLine(int clientWidth, int clientHeight, bool upPressed, int columnWidth = kSpinColumnWidth);

// One filled and outlined triangle.
struct SpinTriangle {
  SpinInk ink = SpinInk::Black;
  std::array<SpinPoint, 3> points;
};

// Everything one button paints, in painting order.
struct SpinButtonPicture {
  SpinRect bounds;             // filled with the face colour first
  SpinInk face = SpinInk::Face;
  int triangleCount = 0;       // 1 (enabled, black) or 2 (disabled, embossed)
  std::array<SpinTriangle, 2> triangles;
  std::array<SpinLine, 2> edges;
  std::optional<SpinLine> separator;  // up button only
};

SpinButtonPicture SpinButtonLayout(int kind, int clientWidth, int clientHeight, bool pressed,
                                   bool enabled, int columnWidth = kSpinColumnWidth);

// The same button in the colours of a high-contrast scheme only: a plain face (the highlight while
// pressed), one flat arrow and its edges in the text colour that goes with the face, grey text when
// the edit is disabled; no black and no embossing, which such a scheme would not show.
SpinButtonPicture InHighContrast(SpinButtonPicture picture, bool pressed, bool enabled);

}  // namespace pw
