#pragma once
// What every date a fuzz target finds must satisfy, beyond not crashing: real calendar fields,
// an offset a zone can have, a text for the preview, and an instant or a reason in any zone.
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "media/core/FoundDate.h"

namespace fuzzcheck {

inline void Require(bool condition) {
  if (!condition) std::abort();
}

inline void CheckDate(const std::optional<pw::FoundDate>& date) {
  if (!date) return;
  Require(pw::IsValidWallClock(date->Clock));
  Require(!date->UtcOffset || (*date->UtcOffset >= -18 * 60 && *date->UtcOffset <= 18 * 60));
  Require(!pw::OriginText(*date).empty());
  pw::ReadingZone zone;
  for (const std::int32_t minutes : {-14 * 60, 0, 14 * 60}) {
    zone.FixedOffsetMinutes = minutes;
    const pw::ZonedTime placed = pw::PlaceDate(*date, zone);
    Require(placed.Instant.has_value() != !placed.Problem.empty());
  }
}

}  // namespace fuzzcheck
