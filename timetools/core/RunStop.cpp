#include "timetools/core/RunStop.h"

#include "common/core/NetworkErrors.h"

namespace pw {

bool EndsTheRun(std::span<const EditFailure> failures, std::size_t before) {
  for (std::size_t i = before; i < failures.size(); ++i)
    if (IsConnectionLost(failures[i].Error)) return true;
  return false;
}

}  // namespace pw
