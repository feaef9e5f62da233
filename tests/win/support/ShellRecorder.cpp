#include "support/ShellRecorder.h"

#include "ui/Registry.h"

namespace testutil {

ShellRecorder::ShellRecorder() {
  wchar_t self[MAX_PATH] = {0};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  helper_ = self;
  helper_ = helper_.substr(0, helper_.find_last_of(L'\\') + 1) + L"pw_record_open.exe";
  command_ = L"\"" + helper_ + L"\" \"%1\"";
  record_ = records_.Path() + L"opened.txt";
  SetEnvironmentVariableW(L"PW_RECORD_OPEN_FILE", record_.c_str());
}

ShellRecorder::~ShellRecorder() {
  for (auto undo = undo_.rbegin(); undo != undo_.rend(); ++undo) {
    if (!undo->CreatedKey.empty()) {
      RegDeleteTreeW(undo->Root, undo->CreatedKey.c_str());
      continue;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExW(undo->Root, undo->Key.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) continue;
    if (undo->HadValue)
      RegSetValueExW(key, undo->Name.c_str(), 0, undo->Type, undo->Data.data(), static_cast<DWORD>(undo->Data.size()));
    else
      RegDeleteValueW(key, undo->Name.c_str());
    RegCloseKey(key);
  }
  SetEnvironmentVariableW(L"PW_RECORD_OPEN_FILE", nullptr);
}

bool ShellRecorder::HandleFileType(const std::wstring& extension) {
  return GetFileAttributesW(helper_.c_str()) != INVALID_FILE_ATTRIBUTES &&
         SetClassValue(extension, L"", L"Pathwick.TestFile") &&
         SetClassValue(L"Pathwick.TestFile\\shell\\open\\command", L"", command_);
}

bool ShellRecorder::HandleProtocol(const std::wstring& scheme) {
  return GetFileAttributesW(helper_.c_str()) != INVALID_FILE_ATTRIBUTES &&
         SetClassValue(scheme, L"URL Protocol", L"") &&
         SetClassValue(scheme + L"\\shell\\open\\command", L"", command_);
}

bool ShellRecorder::SetClassValue(const std::wstring& key, const std::wstring& name, const std::wstring& value) {
  if (!SetValue(HKEY_CURRENT_USER, L"Software\\Classes\\" + key, name, value)) return false;
  // Wine 8 does not merge the per-user classes into HKEY_CLASSES_ROOT; there the value goes in the
  // machine's classes as well.
  if (ui::RegistryKey::OpenForReading(HKEY_CLASSES_ROOT, key).ReadString(name) == value) return true;
  return SetValue(HKEY_CLASSES_ROOT, key, name, value);
}

bool ShellRecorder::SetValue(HKEY root, const std::wstring& key, const std::wstring& name,
                             const std::wstring& value) {
  Undo undo;
  undo.Root = root;
  undo.Key = key;
  undo.Name = name;
  for (size_t end = key.find(L'\\');; end = key.find(L'\\', end + 1)) {
    const std::wstring part = key.substr(0, end);
    HKEY existing = nullptr;
    if (RegOpenKeyExW(root, part.c_str(), 0, KEY_READ, &existing) != ERROR_SUCCESS) {
      undo.CreatedKey = part;
      break;
    }
    RegCloseKey(existing);
    if (end == std::wstring::npos) break;
  }
  HKEY k = nullptr;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &k, nullptr) !=
      ERROR_SUCCESS)
    return false;
  DWORD bytes = 0;
  if (undo.CreatedKey.empty() &&
      RegQueryValueExW(k, name.c_str(), nullptr, &undo.Type, nullptr, &bytes) == ERROR_SUCCESS) {
    undo.Data.resize(bytes);
    undo.HadValue = RegQueryValueExW(k, name.c_str(), nullptr, &undo.Type, undo.Data.data(), &bytes) == ERROR_SUCCESS;
    undo.Data.resize(bytes);
  }
  const LONG rc = RegSetValueExW(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(k);
  undo_.push_back(std::move(undo));
  return rc == ERROR_SUCCESS;
}

std::optional<std::pair<std::wstring, std::wstring>> ShellRecorder::WaitForRecord() {
  for (int i = 0; i < 200; ++i) {
    PumpMessages();
    const std::wstring text = Read();
    const size_t first = text.find(L'\n', consumed_);
    const size_t second = first == std::wstring::npos ? first : text.find(L'\n', first + 1);
    if (second != std::wstring::npos) {
      auto record = std::make_pair(text.substr(consumed_, first - consumed_), text.substr(first + 1, second - first - 1));
      consumed_ = second + 1;
      return record;
    }
    // Another process writes the record; there is nothing of ours to wait on.
    Sleep(50);
  }
  return std::nullopt;
}

std::wstring ShellRecorder::Read() const {
  HANDLE h = CreateFileW(record_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::wstring text;
  wchar_t buf[1024];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof(buf), &got, nullptr) && got > 0) text.append(buf, got / sizeof(wchar_t));
  CloseHandle(h);
  return text;
}

}  // namespace testutil
