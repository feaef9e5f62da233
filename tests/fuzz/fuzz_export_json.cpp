// Any bytes, read as a photo export's JSON.
#include <cstddef>
#include <cstdint>

#include "FuzzChecks.h"
#include "media/core/Sidecar.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::optional<pw::FoundDate> date = pw::ReadExportJson({data, size});
  fuzzcheck::CheckDate(date);
  // The export's timestamps are UTC by definition.
  fuzzcheck::Require(!date || date->UtcOffset == 0);
  return 0;
}
