// Any bytes, told apart by their first bytes and read as the kind they say they are.
#include <cstddef>
#include <cstdint>

#include "FuzzChecks.h"
#include "media/core/TakenDate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pw::MemorySource source({data, size});
  fuzzcheck::CheckDate(pw::ReadTakenDate(source));
  return 0;
}
