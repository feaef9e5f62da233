#pragma once
// One registry key, closed when the object goes, with the few value operations the program needs.
// Reads are strict about types so that a value someone edited by hand into another type counts as
// missing instead of being misread.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ui/Scoped.h"

namespace ui {

class RegistryKey {
public:
  // The longest text a string value may hold: the longest path Windows knows.
  static constexpr std::size_t MaxStringLength = 32767;

  // An existing key, for querying values; empty when it is missing or may not be read.
  static RegistryKey OpenForReading(HKEY root, const std::wstring& path);
  // The key, created first when it is missing, for querying and setting values.
  static RegistryKey CreateForWriting(HKEY root, const std::wstring& path);

  explicit operator bool() const { return static_cast<bool>(key_); }

  // A REG_SZ or REG_EXPAND_SZ value (not expanded), up to its first NUL or the end of its data;
  // nothing when the value is missing, of another type or longer than MaxStringLength.
  std::optional<std::wstring> ReadString(const std::wstring& name) const;
  // REG_SZ with its terminating NUL; false for a text longer than MaxStringLength.
  bool WriteString(const std::wstring& name, std::wstring_view value) const;
  // Only a REG_DWORD of exactly four bytes; nothing otherwise.
  std::optional<std::uint32_t> ReadDword(const std::wstring& name) const;
  bool WriteDword(const std::wstring& name, std::uint32_t value) const;
  bool DeleteValue(const std::wstring& name) const;

private:
  explicit RegistryKey(HKEY key) : key_(key) {}

  ScopedKey key_;
};

}  // namespace ui
