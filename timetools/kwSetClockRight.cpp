#include "timetools/kwSetClockRight.h"

#include <cwchar>
#include <iterator>
#include <memory>

#include "common/core/PathRules.h"
#include "common/platform/LocalTime.h"
#include "media/core/DateText.h"
#include "media/core/TakenDate.h"
#include "timetools/DiskFileSystem.h"

namespace {

constexpr int kMargin = 10;

std::wstring TextOf(HWND control) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

pw::ReadingZone ComputerZone() {
  const auto zone = std::make_shared<pw::LocalTimeZone>();
  pw::ReadingZone reading;
  reading.BiasesAround = [zone](int year) { return zone->BiasesAround(year); };
  reading.ToLocal = [zone](std::uint64_t utc) { return zone->LocalTicks(utc); };
  return reading;
}

// A date the movie header or an export gives in UTC is typed, and shown, on this computer's clock.
bool OnComputerClock(const pw::FoundDate& date) {
  return date.Origin == pw::DateOrigin::MovieHeader || date.Origin == pw::DateOrigin::ExportTaken ||
         date.Origin == pw::DateOrigin::ExportCreated;
}

std::wstring ClockText(const pw::WallClock& clock) {
  wchar_t text[32];
  std::swprintf(text, std::size(text), L"%04d-%02d-%02d %02d:%02d:%02d", clock.Year, clock.Month, clock.Day, clock.Hour,
                clock.Minute, clock.Second);
  return text;
}

}  // namespace

TfrmSetClockRight::TfrmSetClockRight(HWND owner, std::vector<std::wstring> paths)
    : TfrmTimeTool(L"Set", 104, false), paths_(std::move(paths)) {
  CreateToolWindow(owner, L"TfrmSetClockRight", L"Set the Clock Right");
}

TfrmSetClockRight::~TfrmSetClockRight() { DestroyForm(); }

void TfrmSetClockRight::CreateTop() {
  lblReference = AddControl(L"STATIC", L"&Reference photo or video:", 0);
  cbReference = AddControl(L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
  for (const std::wstring& path : paths_)
    SendMessageW(cbReference, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pw::LastComponent(path).c_str()));
  lblTaken = AddControl(L"STATIC", L"", SS_NOPREFIX);
  lblReal = AddControl(L"STATIC", L"Really &taken at:", 0);
  edReal = AddControl(L"EDIT", L"", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL);
  SendMessageW(cbReference, CB_SETCURSEL, 0, 0);
  ReadReference();
}

void TfrmSetClockRight::PlaceTop() {
  PlaceScaled(lblReference, {kMargin, 8, 340, 16});
  PlaceScaled(cbReference, {kMargin, 26, 340, 200});
  PlaceScaled(lblTaken, {kMargin, 54, 340, 16});
  PlaceScaled(lblReal, {kMargin, 78, 100, 16});
  PlaceScaled(edReal, {115, 75, 150, 21});
}

std::size_t TfrmSetClockRight::Reference() const {
  const LRESULT selected = SendMessageW(cbReference, CB_GETCURSEL, 0, 0);
  return selected < 0 ? 0 : static_cast<std::size_t>(selected);
}

void TfrmSetClockRight::ReadReference() {
  taken_.reset();
  std::wstring text = L"No date taken in it.";
  if (Reference() < paths_.size()) {
    pw::DiskFileSystem disk;
    std::unique_ptr<pw::ContentHandle> content;
    if (disk.OpenContent(paths_[Reference()], content) != pw::kFsOk) text = L"It could not be read.";
    else taken_ = pw::ReadTakenDate(*content);
  }
  if (taken_) {
    pw::WallClock shown = taken_->Clock;
    if (OnComputerClock(*taken_)) {
      const pw::ZonedTime placed = pw::PlaceDate(*taken_, ComputerZone());
      pw::LocalTimeZone zone;
      pw::CalendarTime local;
      if (placed.Instant && zone.ToLocal(*placed.Instant, local))
        shown = {.Year = local.Year, .Month = local.Month, .Day = local.Day, .Hour = local.Hour,
                 .Minute = local.Minute, .Second = local.Second};
    }
    text = L"Its date taken: " + ClockText(shown) + L" (" + pw::DateNote(*taken_) + L")";
    SetWindowTextW(edReal, ClockText(shown).c_str());
  }
  SetWindowTextW(lblTaken, text.c_str());
}

std::optional<std::uint64_t> TfrmSetClockRight::RealInstant() const {
  if (!taken_) return std::nullopt;
  const std::wstring typed = TextOf(edReal);
  std::string narrow;
  for (const wchar_t c : typed) {
    if (c > 0x7F) return std::nullopt;
    narrow += static_cast<char>(c);
  }
  const std::optional<pw::IsoDateTime> read = pw::ReadIsoDateTime(narrow);
  if (!read) return std::nullopt;
  pw::FoundDate real{.Origin = pw::DateOrigin::Name, .Clock = read->Clock, .UtcOffset = read->UtcOffset};
  if (!real.UtcOffset && !OnComputerClock(*taken_)) real.UtcOffset = taken_->UtcOffset;
  return pw::PlaceDate(real, ComputerZone()).Instant;
}

bool TfrmSetClockRight::Ready() const { return RealInstant().has_value(); }

void TfrmSetClockRight::OnToolCommand(HWND from, WORD code) {
  if (from == cbReference && code == CBN_SELCHANGE) ReadReference();
}
