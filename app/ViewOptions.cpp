#include "app/ViewOptions.h"

#include "ui/Registry.h"

namespace pw {

namespace {

void PersistChildren(const ui::RegistryKey& key, ui::MenuItem& parent, bool save) {
  for (const auto& child : parent.Items()) {
    // Sub-menus do not make sub-keys: their items land in the same key.
    if (!child->Items().empty()) {
      PersistChildren(key, *child, save);
      continue;
    }
    std::wstring name = child->Caption();
    std::erase(name, L'&');
    if (name == L"-") continue;
    if (save) {
      key.WriteDword(name, child->Checked() ? 1 : 0);
      continue;
    }
    // A value edited by hand into another type or size reads as missing and changes nothing.
    const auto stored = key.ReadDword(name);
    if (stored && (*stored != 0) != child->Checked()) child->Click();
  }
}

}  // namespace

void PersistMenuChecks(ui::MenuItem& menuItem, const std::wstring& keyPath, bool save) {
  const ui::RegistryKey key = save ? ui::RegistryKey::CreateForWriting(HKEY_CURRENT_USER, keyPath)
                                   : ui::RegistryKey::OpenForReading(HKEY_CURRENT_USER, keyPath);
  if (key) PersistChildren(key, menuItem, save);
}

}  // namespace pw
