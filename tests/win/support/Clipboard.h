#pragma once
// The clipboard's plain text, read and written as another program would.
#include <optional>
#include <string>

namespace testutil {

// The clipboard's Unicode text, or nothing when it holds none.
std::optional<std::wstring> ClipboardText();
bool SetClipboardText(const std::wstring& text);

}  // namespace testutil
