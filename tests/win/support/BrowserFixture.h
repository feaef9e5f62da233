#pragma once
// A real main window in the test process, driven with real messages.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/MainWindowProbe.h"
#include "app/kwFileBrowser.h"
#include "ui/Keys.h"
#include "support/Files.h"
#include "support/Messages.h"
#include "support/TestDrive.h"
#include "support/UserInput.h"

class BrowserTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // A key press on a window, as the keyboard sends it (WM_KEYDOWN, then WM_KEYUP).
  static void PressKey(HWND wnd, WORD vk);
  // The same with modifiers held (ui::ModCtrl, ModShift, ModAlt); with Alt it comes as a system key.
  static void PressKey(HWND wnd, WORD vk, unsigned modifiers);
  // A double click on a row of a list view, at the middle of its label.
  static void DoubleClickRow(const ui::ListView& list, int row);
  // A single click on a row (selects it alone).
  static void ClickRow(const ui::ListView& list, int row);
  // A click with Ctrl held (adds the row to the selection or takes it out) or Shift held (selects
  // the range from the anchor).
  static void CtrlClickRow(const ui::ListView& list, int row);
  static void ShiftClickRow(const ui::ListView& list, int row);
  // A click on a toolbar button.
  static void ClickButton(const ui::SpeedButton& button);
  // A menu command, as the menu sends it.
  void ClickMenu(const ui::MenuItem* item) const;

  // The window's controls and state, by the names of its layout.
  MainWindowProbe Probe() const { return MainWindowProbe(*form); }
  const ui::ListView& FileList() const { return Probe().Files(); }
  const ui::ListView& DriveList() const { return Probe().Drives(); }
  const ui::StatusBar& Status() const { return Probe().Status(); }
  const ui::MenuItem* Item(std::wstring_view name) const { return &Probe().Item(name); }
  const ui::SpeedButton& Button(std::wstring_view name) const { return Probe().Button(name); }

  // What the folder list shows: captions, and the text of one cell (column 0 = caption).
  std::vector<std::wstring> Captions() const;
  std::wstring Cell(int row, int column) const;
  int RowOf(const std::wstring& caption) const;
  // The row of the drive list that shows a root such as "Q:\", or -1.
  int DriveRowOf(const std::wstring& root) const;
  std::vector<int> SelectedRows() const;
  // The captions of the selected rows, and of the focused row ("" when none is).
  std::vector<std::wstring> SelectedCaptions() const;
  std::wstring FocusedCaption() const;
  std::wstring PathLine() const { return testutil::WindowText(Probe().PathLine()); }

  // Lists a folder the way a user goes to it: typed into the path line (path with trailing
  // backslash), then Enter.
  void ListPath(const std::wstring& folder);

  std::unique_ptr<TfrmFileBrowser> form;
  // What the window reads folders with; a fixture may stand in for the system before SetUp.
  pw::DirectoryQuery folderQuery = pw::SystemDirectoryQuery();
};

// The main window with a folder of the test's own under a fresh temporary folder: `base`, named
// as the fixture says, with a trailing backslash. The window goes before the folders do.
class BrowserFolderTest : public BrowserTest {
protected:
  explicit BrowserFolderTest(std::wstring name) : name_(std::move(name)) {}
  void SetUp() override;
  void TearDown() override;

  std::unique_ptr<testutil::TempDir> dir;
  std::wstring base;

private:
  std::wstring name_;
};
