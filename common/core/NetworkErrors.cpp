#include "common/core/NetworkErrors.h"

#include <algorithm>
#include <array>

namespace pw {
namespace {

// Win32 error codes (no <windows.h> here). Beside the network's own, what Wine answers through a
// network file system mounted with FUSE: a stopped server makes the client answer EIO, which comes
// as ERROR_NOT_READY (21) for an entry and ERROR_NOACCESS (998) for a directory search; a client
// that died answers ENOTCONN, which comes as ERROR_GEN_FAILURE (31).
constexpr std::array<std::uint32_t, 16> kLost = {
    21,    // ERROR_NOT_READY
    31,    // ERROR_GEN_FAILURE
    51,    // ERROR_REM_NOT_LIST
    53,    // ERROR_BAD_NETPATH
    55,    // ERROR_DEV_NOT_EXIST
    59,    // ERROR_UNEXP_NET_ERR
    64,    // ERROR_NETNAME_DELETED
    121,   // ERROR_SEM_TIMEOUT
    240,   // ERROR_VC_DISCONNECTED
    998,   // ERROR_NOACCESS
    1222,  // ERROR_NO_NETWORK
    1231,  // ERROR_NETWORK_UNREACHABLE
    1232,  // ERROR_HOST_UNREACHABLE
    1236,  // ERROR_CONNECTION_ABORTED
    1311,  // ERROR_NO_LOGON_SERVERS
    2250,  // ERROR_NOT_CONNECTED
};

}  // namespace

bool IsConnectionLost(std::uint32_t error) { return std::ranges::find(kLost, error) != kLost.end(); }

}  // namespace pw
