#pragma once
// The View menu's check marks, kept in the per-user registry from one run to the next.
#include <string>

#include "ui/Menu.h"

namespace pw {

// Saving writes the check mark of every leaf item below menuItem, at any depth and in menu order,
// as a REG_DWORD (1 checked, 0 not) named after its caption without hotkey markers, all directly
// in the key at keyPath, which is created when missing. Loading clicks each leaf item whose stored
// state (any non-zero number is checked) differs from its check mark, so that the item's own
// handler applies the option; a missing key, a missing value and a value that is not a 32-bit
// number leave the items as they are. Separators and items with sub-items are never stored.
void PersistMenuChecks(ui::MenuItem& menuItem, const std::wstring& keyPath, bool save);

}  // namespace pw
