#pragma once
// The folders the user went to, for going back and forward. A folder is a path with a trailing
// backslash; the empty path stands for the drive list.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

class FolderHistory {
public:
  static constexpr std::size_t kLimit = 50;

  // Where a step back or forward lands, and how many gone folders it passed on the way.
  struct Step {
    std::optional<std::wstring> Folder;  // nothing: no folder left in that direction
    int Skipped = 0;
  };
  using Available = std::function<bool(const std::wstring& folder)>;

  // A folder the user went to. The folders ahead of the current one are dropped (as in every
  // browser); going to the current folder again (a refresh, a step back that lists it) changes
  // nothing. The oldest folder goes once there are more than kLimit.
  void Visit(std::wstring_view folder);
  // The nearest folder behind or ahead of the current one that is still available; it becomes the
  // current one. When none is, the current one stays.
  Step Back(const Available& available) { return Move(-1, available); }
  Step Forward(const Available& available) { return Move(1, available); }

private:
  Step Move(int direction, const Available& available);

  std::vector<std::wstring> folders_;
  std::size_t current_ = 0;
};

}  // namespace pw
