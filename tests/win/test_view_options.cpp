// The View menu's options in the registry: the main window stores them when it closes and applies
// them when it starts, whatever a person may have left in the key.
#include <gtest/gtest.h>

#include <memory>

#include "support/MainWindowProbe.h"
#include "app/kwFileBrowser.h"
#include "common/core/ProgramKey.h"
#include "support/Messages.h"
#include "ui/Registry.h"

namespace {

// The View menu's leaf items in menu order, with the layout's check marks.
const std::pair<const wchar_t*, std::uint32_t> kOptions[] = {
    {L"Read Only", 1}, {L"Hidden", 1},      {L"System", 1},      {L"Archive", 1}, {L"Normal", 1},
    {L"Size", 1},      {L"Type", 1},        {L"Created", 1},     {L"Modified", 1}, {L"Accessed", 1},
    {L"Attributes", 1}, {L"Large Icons", 0}, {L"Small Icons", 0}, {L"List", 0},    {L"Details", 1},
    {L"Show Folders", 1}};

// Every test starts and ends without stored options; the bookmarks that share the key stay.
class ViewOptionsTest : public ::testing::Test {
protected:
  ViewOptionsTest() { ClearOptions(); }
  ~ViewOptionsTest() override {
    form.reset();
    ClearOptions();
  }
  void ClearOptions() const {
    for (const auto& option : kOptions) stored.DeleteValue(option.first);
  }
  // Shown as at a start; Restart drops the window without closing it, so nothing is stored.
  void Restart() {
    form = std::make_unique<TfrmFileBrowser>();
    ASSERT_TRUE(form->Create(false));
    form->Show();
    testutil::PumpMessages();
  }
  void Close() {
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    testutil::PumpMessages();
  }
  void ClickMenu(const ui::MenuItem* item) const {
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
  }
  MainWindowProbe Probe() const { return MainWindowProbe(*form); }
  const ui::ListView& FileList() const { return Probe().Files(); }
  const ui::ListView& DriveList() const { return Probe().Drives(); }
  const ui::MenuItem* Item(std::wstring_view name) const { return &Probe().Item(name); }
  const ui::SpeedButton& Button(std::wstring_view name) const { return Probe().Button(name); }
  DWORD View() const { return FileList().ViewStyle(); }

  ui::RegistryKey stored = ui::RegistryKey::CreateForWriting(HKEY_CURRENT_USER, pw::FileBrowserKeyPath());
  std::unique_ptr<TfrmFileBrowser> form;
};

TEST_F(ViewOptionsTest, TheFirstCloseStoresAllSixteenOptionsAndChangedOnesComeBack) {
  Restart();
  Close();
  for (const auto& [name, checked] : kOptions) EXPECT_EQ(stored.ReadDword(name), checked) << testing::PrintToString(name);
  for (const wchar_t* parent : {L"-", L"View", L"Columns", L"ViewType"}) EXPECT_FALSE(stored.ReadDword(parent));

  Restart();
  ClickMenu(Item(L"mnuAttributesCol"));
  ClickMenu(Item(L"mnuHidden"));
  ClickMenu(Item(L"mnuList"));
  Close();
  Restart();
  EXPECT_FALSE(Item(L"mnuAttributesCol")->Checked());
  EXPECT_FALSE(Probe().Column(6).Shown);
  EXPECT_EQ(Probe().AttrMask(), 165);  // without the hidden bit
  EXPECT_EQ(View(), static_cast<DWORD>(LV_VIEW_LIST));
  EXPECT_FALSE(Item(L"mnuDetails")->Checked());
  EXPECT_TRUE(Button(L"btnList").Down());
  // The list view shows no columns; back in the details the column is hidden.
  ClickMenu(Item(L"mnuDetails"));
  EXPECT_EQ(FileList().ColumnWidth(6), 0);
}

TEST_F(ViewOptionsTest, StoredValuesAreAppliedAtStartAndOthersAreIgnored) {
  stored.WriteDword(L"Size", 0);
  stored.WriteDword(L"List", 1);
  stored.WriteDword(L"Show Folders", 0);
  stored.WriteString(L"Hidden", L"0");  // edited by hand into a text: ignored
  Restart();
  EXPECT_FALSE(Item(L"mnuSizeCol")->Checked());
  EXPECT_EQ(View(), static_cast<DWORD>(LV_VIEW_LIST));
  EXPECT_EQ(DriveList().ViewStyle(), static_cast<DWORD>(LV_VIEW_LIST));
  EXPECT_TRUE(Item(L"mnuList")->Checked());
  EXPECT_TRUE(Probe().HideFolders());
  EXPECT_TRUE(Item(L"mnuHidden")->Checked());
  EXPECT_EQ(Probe().AttrMask(), 167);
  ClickMenu(Item(L"mnuDetails"));
  EXPECT_EQ(FileList().ColumnWidth(1), 0);
  EXPECT_GT(FileList().ColumnWidth(2), 0);
}

TEST_F(ViewOptionsTest, AnyNonZeroIsCheckedAndTheLaterViewInMenuOrderWins) {
  stored.WriteDword(L"Large Icons", 5);
  Restart();
  EXPECT_EQ(View(), static_cast<DWORD>(LV_VIEW_ICON));

  stored.DeleteValue(L"Large Icons");
  stored.WriteDword(L"Small Icons", 1);
  stored.WriteDword(L"List", 1);
  Restart();
  EXPECT_EQ(View(), static_cast<DWORD>(LV_VIEW_LIST));
  EXPECT_FALSE(Item(L"mnuSmallIcons")->Checked());

  // Details is checked at start, but Large Icons takes the check before Details is reached.
  ClearOptions();
  stored.WriteDword(L"Large Icons", 1);
  stored.WriteDword(L"Details", 1);
  Restart();
  EXPECT_EQ(View(), static_cast<DWORD>(LV_VIEW_DETAILS));
  EXPECT_FALSE(Item(L"mnuLargeIcons")->Checked());
}

}  // namespace
