#pragma once
// Errors that say the volume stopped answering (a server gone, a network down, a client of a
// network file system that died) rather than anything about the entry asked for. A listing keeps
// what it read when one ends it, a watch does not take the folder for gone, and a batch run stops
// at the first one instead of failing every entry left.
#include <cstdint>

namespace pw {

bool IsConnectionLost(std::uint32_t error);

}  // namespace pw
