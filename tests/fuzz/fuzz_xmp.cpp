// Any bytes, read as an XMP sidecar and as a file that may carry XMP inside.
#include <cstddef>
#include <cstdint>

#include "FuzzChecks.h"
#include "media/core/Sidecar.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzcheck::CheckDate(pw::ReadXmpDate({data, size}));
  pw::MemorySource source({data, size});
  fuzzcheck::CheckDate(pw::ReadEmbeddedXmp(source));
  return 0;
}
