#include "browse/platform/DirectoryBlocks.h"

#include <algorithm>

namespace pw {
namespace {

constexpr int kFileDirectoryInformation = 1;
constexpr LONG kStatusInvalidParameter = static_cast<LONG>(0xC000000DL);

using StatusToError = ULONG(NTAPI*)(LONG status);

HMODULE Ntdll() { return GetModuleHandleW(L"ntdll.dll"); }

template <typename Function>
Function NtdllFunction(const char* name) {
  const HMODULE ntdll = Ntdll();
  return ntdll ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(ntdll, name))) : nullptr;
}

}  // namespace

DirectoryQuery SystemDirectoryQuery() {
  static const DirectoryQuery query = NtdllFunction<DirectoryQuery>("NtQueryDirectoryFile");
  return query;
}

DWORD ErrorOfStatus(LONG status) {
  static const StatusToError toError = NtdllFunction<StatusToError>("RtlNtStatusToDosError");
  return FailureCode(toError ? toError(status) : ERROR_GEN_FAILURE);
}

DirectoryReader::DirectoryReader(DirectoryQuery query)
    : query_(query), block_(kBlockBytes / sizeof(std::uint64_t)) {}

LONG DirectoryReader::Query(HANDLE directory) {
  if (!query_) return kStatusInvalidParameter;
  for (;;) {
    IO_STATUS_BLOCK io{};
    const LONG status = query_(directory, nullptr, nullptr, nullptr, &io, block_.data(),
                               static_cast<ULONG>(blockBytes_), kFileDirectoryInformation, FALSE, nullptr, first_);
    // A redirector that takes no blocks over 64 KB says so with this status: the same block again,
    // smaller.
    if (status == kStatusInvalidParameter && blockBytes_ > kSmallBlockBytes) {
      blockBytes_ = mostBytes_ = kSmallBlockBytes;
      continue;
    }
    first_ = false;
    blockBytes_ = std::min(blockBytes_ * 2, mostBytes_);
    return status;
  }
}

}  // namespace pw
