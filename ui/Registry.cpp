#include "ui/Registry.h"

#include <vector>

namespace ui {

RegistryKey RegistryKey::OpenForReading(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) key = nullptr;
  return RegistryKey(key);
}

RegistryKey RegistryKey::CreateForWriting(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    key = nullptr;
  return RegistryKey(key);
}

std::optional<std::wstring> RegistryKey::ReadString(const std::wstring& name) const {
  // One query into a buffer big enough for the longest text and its NUL: asking for the size
  // first would race with a writer changing the value in between.
  std::vector<wchar_t> buffer(MaxStringLength + 1);
  DWORD type = 0;
  DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (!key_ || RegQueryValueExW(key_.get(), name.c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(buffer.data()), &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  const std::wstring_view data(buffer.data(), bytes / sizeof(wchar_t));
  const std::wstring_view text = data.substr(0, data.find(L'\0'));
  if (text.size() > MaxStringLength) return std::nullopt;
  return std::wstring(text);
}

bool RegistryKey::WriteString(const std::wstring& name, std::wstring_view value) const {
  if (!key_ || value.size() > MaxStringLength) return false;
  const std::wstring data(value);
  const auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key_.get(), name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(data.c_str()), bytes) == ERROR_SUCCESS;
}

std::optional<std::uint32_t> RegistryKey::ReadDword(const std::wstring& name) const {
  DWORD type = 0, value = 0, bytes = sizeof(value);
  if (!key_ || RegQueryValueExW(key_.get(), name.c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(&value), &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  if (type != REG_DWORD || bytes != sizeof(value)) return std::nullopt;
  return value;
}

bool RegistryKey::WriteDword(const std::wstring& name, std::uint32_t value) const {
  const DWORD data = value;
  return key_ && RegSetValueExW(key_.get(), name.c_str(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&data), sizeof(data)) == ERROR_SUCCESS;
}

bool RegistryKey::DeleteValue(const std::wstring& name) const {
  return key_ && RegDeleteValueW(key_.get(), name.c_str()) == ERROR_SUCCESS;
}

}  // namespace ui
