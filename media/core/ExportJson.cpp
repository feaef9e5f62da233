// An export's JSON is read with nlohmann's event parser: no tree is built, nesting costs no stack,
// and only the two timestamps are looked at.
#include <nlohmann/json.hpp>

#include <string>

#include "common/core/DateTime.h"
#include "media/core/DateText.h"
#include "media/core/Sidecar.h"

namespace pw {
namespace {

constexpr std::uint64_t kUnixEpochTicks = 116'444'736'000'000'000ull;
// Beyond the year 30827 file times end; any timestamp near that is damage anyway.
constexpr std::uint64_t kLatestSeconds = 900'000'000'000ull;

std::optional<FoundDate> FromUnixSeconds(std::uint64_t seconds, DateOrigin origin) {
  // 0 is what an export writes when it does not know the time.
  if (seconds == 0 || seconds > kLatestSeconds) return std::nullopt;
  CalendarTime utc;
  if (!FileTimeToCalendar(kUnixEpochTicks + seconds * kTicksPerSecond, utc)) return std::nullopt;
  return FoundDate{.Origin = origin,
                   .Clock = {.Year = utc.Year, .Month = utc.Month, .Day = utc.Day, .Hour = utc.Hour,
                             .Minute = utc.Minute, .Second = utc.Second},
                   .UtcOffset = 0};
}

using Json = nlohmann::json;

class TimestampEvents final : public nlohmann::json_sax<Json> {
public:
  std::optional<std::uint64_t> Taken, Created;

  bool null() override { return true; }
  bool boolean(bool) override { return true; }
  bool number_integer(number_integer_t value) override {
    if (value >= 0) Seen(static_cast<std::uint64_t>(value));
    return true;
  }
  bool number_unsigned(number_unsigned_t value) override {
    Seen(value);
    return true;
  }
  bool number_float(number_float_t, const string_t&) override { return true; }
  bool string(string_t& value) override {
    // The exports write the seconds as text: digits only.
    if (Wanted() && !value.empty() && value.size() <= 12 && value.find_first_not_of("0123456789") == value.npos)
      Seen(std::stoull(value));
    return true;
  }
  bool binary(binary_t&) override { return true; }
  bool start_object(std::size_t) override { return Enter(); }
  bool start_array(std::size_t) override { return Enter(); }
  bool end_object() override { return Leave(); }
  bool end_array() override { return Leave(); }
  bool key(string_t& name) override {
    if (depth_ == 1) outer_ = name == "photoTakenTime" ? &Taken : name == "creationTime" ? &Created : nullptr;
    if (depth_ == 2) inner_ = name == "timestamp";
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
    damaged_ = true;
    return false;
  }
  bool Damaged() const { return damaged_; }

private:
  bool Wanted() const { return depth_ == 2 && inner_ && outer_ && !*outer_; }
  void Seen(std::uint64_t value) {
    if (Wanted()) *outer_ = value;
  }
  bool Enter() {
    ++depth_;
    if (depth_ == 2) inner_ = false;
    if (depth_ == 1) outer_ = nullptr;
    return true;
  }
  bool Leave() {
    --depth_;
    if (depth_ == 1) inner_ = false;
    if (depth_ == 0) outer_ = nullptr;
    return true;
  }

  std::size_t depth_ = 0;
  std::optional<std::uint64_t>* outer_ = nullptr;
  bool inner_ = false;
  bool damaged_ = false;
};

}  // namespace

std::optional<FoundDate> ReadExportJson(std::span<const std::uint8_t> bytes) {
  TimestampEvents events;
  const std::span<const std::uint8_t> read = bytes.first(std::min(bytes.size(), kLargestSidecar));
  Json::sax_parse(read.begin(), read.end(), &events, nlohmann::detail::input_format_t::json, true, false);
  if (events.Damaged()) return std::nullopt;
  if (events.Taken)
    if (auto taken = FromUnixSeconds(*events.Taken, DateOrigin::ExportTaken)) return taken;
  return events.Created ? FromUnixSeconds(*events.Created, DateOrigin::ExportCreated) : std::nullopt;
}

}  // namespace pw
