#pragma once
// A drive letter that points to a folder, for tests of drive roots. Under Wine the mount manager
// defines it (as winecfg does); on Windows it is a DOS device, as subst makes.
#include <string>

namespace testutil {

class TestDrive {
public:
  // Maps the first free letter from 'Q' on to folder (a Windows path). Letter() is 0 on failure.
  // Under Wine, `device` (the image file of the volume mounted at folder) lets the drive report
  // that volume's file system; Windows takes it from the folder's own volume. A `network` drive
  // is one of Wine's "network" drives (GetDriveTypeW says DRIVE_REMOTE).
  explicit TestDrive(const std::wstring& folder, const std::wstring& device = L"", bool network = false);
  ~TestDrive();
  TestDrive(const TestDrive&) = delete;
  TestDrive& operator=(const TestDrive&) = delete;

  wchar_t Letter() const { return letter_; }
  std::wstring Root() const { return std::wstring(1, letter_) + L":\\"; }

private:
  wchar_t letter_ = 0;
  bool wine_ = false;
};

bool RunningUnderWine();

// One drive letter for the whole test program, over a temporary folder of its own. The browser
// fixture makes it before its first window lists the drives, so every window lists it.
TestDrive& ProgramDrive();
const std::wstring& ProgramDriveFolder();  // with a trailing backslash

}  // namespace testutil
