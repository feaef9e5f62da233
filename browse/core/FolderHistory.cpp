#include "browse/core/FolderHistory.h"

#include "common/core/CaselessText.h"

namespace pw {

void FolderHistory::Visit(std::wstring_view folder) {
  // Letter case does not make another folder, and a path typed in lower case must not push a
  // second entry for the folder shown.
  if (!folders_.empty() && CaselessCompare(folders_[current_], folder) == 0) return;
  if (!folders_.empty()) folders_.resize(current_ + 1);
  folders_.emplace_back(folder);
  if (folders_.size() > kLimit) folders_.erase(folders_.begin());
  current_ = folders_.size() - 1;
}

FolderHistory::Step FolderHistory::Move(int direction, const Available& available) {
  Step step;
  std::size_t i = current_;
  while (direction < 0 ? i > 0 : i + 1 < folders_.size()) {
    i = direction < 0 ? i - 1 : i + 1;
    if (available(folders_[i])) {
      current_ = i;
      step.Folder = folders_[i];
      return step;
    }
    ++step.Skipped;
  }
  return step;
}

}  // namespace pw
