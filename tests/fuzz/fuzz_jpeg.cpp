// Any bytes, read as a JPEG file.
#include <cstddef>
#include <cstdint>

#include "FuzzChecks.h"
#include "media/core/MediaFormats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pw::MemorySource source({data, size});
  pw::MediaReader reader(source);
  fuzzcheck::CheckDate(pw::JpegTakenDate(reader));
  return 0;
}
