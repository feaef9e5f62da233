#pragma once
// A folder of its own for the commands that write times and attributes, the files' stamps as read
// from disk, and the reports those commands close with, kept and closed.
#include <memory>
#include <string>
#include <vector>

#include "editor/kwTimeEdit.h"
#include "support/BrowserFixture.h"
#include "support/WhenShown.h"

namespace testutil {

struct Stamps {
  DWORD Attributes = 0;
  unsigned long long Created = 0, Accessed = 0, Written = 0;
  friend bool operator==(const Stamps&, const Stamps&) = default;
};
// An entry's attributes and times as the file system gives them now; all zero when unreadable.
Stamps ReadStamps(const std::wstring& path);

// The UTC file time of a local wall-clock time, as the system converts it.
unsigned long long LocalToUtc(int y, int mo, int d, int h, int mi, int s, int ms);

// A click on a button, as BM_CLICK sends it.
void Click(HWND button);
// Types a whole time into a time edit, field by field, as the keyboard does: "134507123" for
// 13:45:07:123.
void TypeTime(pw::TkwTimeEdit& edit, const wchar_t* digits);

}  // namespace testutil

class EditFolderTest : public BrowserTest {
protected:
  // The folder is made as `name` inside a temporary one.
  explicit EditFolderTest(std::wstring name) : name_(std::move(name)) {}
  void SetUp() override;
  void TearDown() override;

  std::wstring At(const std::wstring& name) const { return folder + name; }
  // Lists the folder and selects the rows of these entries, by clicks.
  void Select(const std::vector<std::wstring>& names);

  testutil::TempDir dir;
  std::wstring folder;
  // Every message box the test does not watch for itself: a run's report of what the file system
  // stored otherwise (Wine keeps no creation time of its own), or where it stopped.
  std::vector<std::wstring> reports;

private:
  std::wstring name_;
  std::unique_ptr<testutil::WhenShown> boxes_;
};
