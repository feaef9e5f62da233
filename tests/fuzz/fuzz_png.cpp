// Any bytes, read as a PNG file.
#include <cstddef>
#include <cstdint>

#include "FuzzChecks.h"
#include "media/core/MediaFormats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pw::MemorySource source({data, size});
  pw::MediaReader reader(source);
  fuzzcheck::CheckDate(pw::PngTakenDate(reader));
  return 0;
}
