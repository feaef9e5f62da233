#include "bookmarks/RegistryBookmarkStore.h"

#include <utility>

#include "ui/Registry.h"

namespace pw {
namespace {

std::wstring ValueName(int number) { return L"Key" + std::to_wstring(number); }

class RegistryBookmarkValues : public BookmarkValues {
public:
  explicit RegistryBookmarkValues(ui::RegistryKey key) : key_(std::move(key)) {}

  std::optional<std::wstring> Read(int number) override { return key_.ReadString(ValueName(number)); }
  bool Write(int number, std::wstring_view path) override {
    return key_.WriteString(ValueName(number), path);
  }
  void Delete(int number) override { key_.DeleteValue(ValueName(number)); }

private:
  ui::RegistryKey key_;
};

std::unique_ptr<BookmarkValues> Opened(ui::RegistryKey key) {
  if (!key) return nullptr;
  return std::make_unique<RegistryBookmarkValues>(std::move(key));
}

}  // namespace

RegistryBookmarkStore::RegistryBookmarkStore(const std::wstring& subKey)
    : keyPath_(kProductKeyPath + subKey) {}

std::unique_ptr<BookmarkValues> RegistryBookmarkStore::OpenForReading() {
  return Opened(ui::RegistryKey::OpenForReading(HKEY_CURRENT_USER, keyPath_));
}

std::unique_ptr<BookmarkValues> RegistryBookmarkStore::OpenForWriting() {
  return Opened(ui::RegistryKey::CreateForWriting(HKEY_CURRENT_USER, keyPath_));
}

}  // namespace pw
