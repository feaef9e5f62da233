// Any bytes, each one a character of a file name.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzChecks.h"
#include "media/core/NameDate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring name(data, data + size);
  const std::optional<pw::FoundDate> date = pw::NameDate(name);
  fuzzcheck::CheckDate(date);
  fuzzcheck::Require(!date || (date->UtcOffset.value_or(0) == 0 && date->Clock.Year >= 1900 && date->Clock.Year <= 2100));
  return 0;
}
