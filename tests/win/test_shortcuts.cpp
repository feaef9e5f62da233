// The keys an Explorer user presses without thinking, the mouse's back and forward buttons, and
// the path line taking a typed or pasted path, on the real main window with real key messages.
#include "support/BrowserFixture.h"
#include "support/Clipboard.h"
#include "support/WhenShown.h"

#include <functional>

#include "support/EditorProbes.h"

namespace {

using Strings = std::vector<std::wstring>;

class ShortCutTest : public BrowserTest {
protected:
  void SetUp() override {
    BrowserTest::SetUp();
    data = MakeFolder(tree.Path() + L"Data");
    old = MakeFolder(data + L"Old");
    for (const wchar_t* name : {L"a.txt", L"b.txt"}) MakeFile(data + name);
  }
  HWND Files() const { return FileList().Handle(); }
  HWND Line() const { return Probe().PathLine(); }
  bool Editing() const { return GetFocus() == Line() && !(GetWindowLongW(Line(), GWL_STYLE) & ES_READONLY); }
  // Typed key by key over what the line holds selected, then Enter.
  void Type(const std::wstring& text) {
    for (wchar_t c : text) SendMessageW(Line(), WM_CHAR, c, 1);
    PressKey(Line(), VK_RETURN);
  }

  testutil::TempDir tree;
  std::wstring data, old;  // with trailing backslashes
};

TEST_F(ShortCutTest, TheListKeysGoUpRefreshSelectAllCopyAndEdit) {
  ListPath(old);
  PressKey(Files(), VK_BACK);  // up, with the folder it came from selected
  EXPECT_EQ(Cell(0, 0), L"[" + LastName(tree.Path()) + L"]");
  EXPECT_EQ(SelectedRows(), std::vector<int>{RowOf(L"Old")});
  EXPECT_EQ(FileList().Focused(), RowOf(L"Old"));

  ClickRow(FileList(), RowOf(L"b.txt"));
  MakeFile(data + L"late.txt");
  PressKey(Files(), VK_F5);
  ASSERT_NE(RowOf(L"late.txt"), -1);
  EXPECT_EQ(SelectedRows(), std::vector<int>{RowOf(L"b.txt")});

  // Ctrl+A selects the folder's entries, not the parent entry.
  ClickRow(FileList(), 0);
  PressKey(Files(), 'A', ui::ModCtrl);
  const Strings captions = Captions();
  EXPECT_EQ(SelectedRows().size(), captions.size() - 1);
  EXPECT_FALSE(FileList().IsSelected(0));
  EXPECT_EQ(PathLine(), data + captions.back());
  PressKey(Files(), 'C', ui::ModCtrl | ui::ModShift);
  std::wstring paths;
  for (size_t i = 1; i < captions.size(); ++i) paths += (i > 1 ? L"\r" : L"") + data + captions[i];
  EXPECT_EQ(testutil::ClipboardText(), paths);

  // Alt+Enter edits the selected folder; Enter's own meaning, opening it, does not run.
  ClickRow(FileList(), RowOf(L"Old"));
  testutil::WhenShown dialog(L"TfrmEditFileParams", [](HWND wnd) {
    ClickButton(EditFileParamsProbe(wnd).Button(L"btnCancel"));
  });
  PressKey(Files(), VK_RETURN, ui::ModAlt);
  EXPECT_EQ(dialog.Runs(), 1);
  EXPECT_NE(RowOf(L"b.txt"), -1);

  // With folders hidden there is no parent entry to open, yet Alt+Up goes up.
  ClickMenu(Item(L"mnuShowFolders"));
  ListPath(old);
  PressKey(Files(), VK_UP, ui::ModAlt);
  EXPECT_EQ(Captions(), (Strings{L"a.txt", L"b.txt", L"late.txt"}));
}

TEST_F(ShortCutTest, UpFromADriveRootReturnsToTheDriveListOnThatDrive) {
  const std::wstring root = testutil::ProgramDrive().Root();
  const std::wstring sub = MakeFolder(root + L"Up");
  ASSERT_NE(DriveList().FirstSelected(), DriveRowOf(root));
  PressKey(DriveList().Handle(), 'L', ui::ModCtrl);
  Type(sub);
  PressKey(Files(), VK_UP, ui::ModAlt);
  EXPECT_EQ(Cell(0, 0), L"[Drives]");
  EXPECT_NE(RowOf(L"Up"), -1);
  PressKey(Files(), VK_BACK);
  EXPECT_TRUE(DriveList().Visible());
  EXPECT_FALSE(FileList().Visible());
  EXPECT_EQ(DriveList().FirstSelected(), DriveRowOf(root));
  EXPECT_EQ(GetFocus(), DriveList().Handle());

  PressKey(DriveList().Handle(), VK_BACK);  // nothing lies above the drive list
  EXPECT_TRUE(DriveList().Visible());
  // Alt+Enter edits entries of a folder; in the drive list it opens nothing (Enter does).
  PressKey(DriveList().Handle(), VK_RETURN, ui::ModAlt);
  EXPECT_TRUE(DriveList().Visible());
  EXPECT_FALSE(FileList().Visible());
  PressKey(DriveList().Handle(), VK_RETURN);
  EXPECT_TRUE(FileList().Visible());
  EXPECT_EQ(Cell(0, 0), L"[Drives]");
  testutil::RemoveTree(sub.substr(0, sub.size() - 1));
}

TEST_F(ShortCutTest, BackAndForwardPassOverAFolderDeletedSinceWithoutAnErrorBox) {
  const std::wstring gone = MakeFolder(data + L"Gone");
  testutil::WhenShown box(L"#32770", [](HWND wnd) { testutil::CloseMessageBox(wnd); });
  ListPath(data);
  for (const std::wstring& folder : {gone, old}) {
    PressKey(Files(), VK_F4);
    Type(folder);
  }
  testutil::RemoveTree(gone.substr(0, gone.size() - 1));
  auto mouse = [this](WORD button) {
    SendMessageW(Files(), WM_XBUTTONUP, MAKEWPARAM(0, button), MAKELPARAM(20, 40));
    testutil::PumpMessages();
  };

  // Back to the folder above: the folder left is the one selected there.
  PressKey(Files(), VK_LEFT, ui::ModAlt);
  EXPECT_EQ(PathLine(), data + L"Old");
  EXPECT_EQ(SelectedRows(), std::vector<int>{RowOf(L"Old")});
  mouse(XBUTTON2);
  EXPECT_EQ(PathLine(), old);
  mouse(XBUTTON1);
  EXPECT_EQ(PathLine(), data + L"Old");
  PressKey(Files(), VK_LEFT, ui::ModAlt);  // the drive list the window opened on
  EXPECT_TRUE(DriveList().Visible());
  PressKey(DriveList().Handle(), VK_LEFT, ui::ModAlt);  // nothing further back
  PressKey(DriveList().Handle(), VK_RIGHT, ui::ModAlt);
  EXPECT_EQ(PathLine(), data);
  EXPECT_EQ(box.Runs(), 0);
}

TEST_F(ShortCutTest, ThePathLineGoesToATypedFolderOrFileAndKeepsABadPathForCorrection) {
  ListPath(data);
  ClickRow(FileList(), RowOf(L"a.txt"));
  PressKey(Files(), 'L', ui::ModCtrl);
  SendMessageW(Line(), WM_CHAR, L'x', 1);
  PressKey(Line(), VK_ESCAPE);
  EXPECT_FALSE(Editing());
  EXPECT_EQ(PathLine(), data + L"a.txt");
  EXPECT_EQ(GetFocus(), Files());

  // A click opens the line too; a folder typed without its backslash is listed.
  SendMessageW(Line(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(Line(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ASSERT_TRUE(Editing());
  Type(old.substr(0, old.size() - 1));
  EXPECT_EQ(Captions(), Strings{L"[Data]"});
  EXPECT_EQ(PathLine(), old);
  EXPECT_EQ(GetFocus(), Files());

  // A file, in other letters and quoted as Explorer copies it: its folder, the file selected.
  PressKey(Files(), VK_F4);
  Type(L"\"" + data + L"B.TXT\"");
  EXPECT_EQ(SelectedRows(), std::vector<int>{RowOf(L"b.txt")});
  EXPECT_EQ(PathLine(), data + L"b.txt");

  PressKey(Files(), 'L', ui::ModCtrl);
  Type(data + L"missing");
  EXPECT_TRUE(Editing());
  EXPECT_EQ(PathLine(), data + L"missing");
  EXPECT_EQ(SelectedRows(), std::vector<int>{RowOf(L"b.txt")});
  SetFocus(Files());  // leaving the line
  EXPECT_EQ(PathLine(), data + L"b.txt");
}

TEST_F(ShortCutTest, APastedPathOverMaxPathIsListed) {
  std::wstring deep = tree.Path();
  const std::wstring name(40, L'd');
  while (deep.size() <= 300) {
    deep += name + L"\\";
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
  }
  MakeFile(L"\\\\?\\" + deep + L"inner.txt");
  ListPath(data);
  ASSERT_TRUE(testutil::SetClipboardText(deep + L"inner.txt"));
  PressKey(Files(), 'L', ui::ModCtrl);
  SendMessageW(Line(), WM_PASTE, 0, 0);
  PressKey(Line(), VK_RETURN);
  EXPECT_EQ(Captions(), (Strings{L"[" + name + L"]", L"inner.txt"}));
  EXPECT_EQ(Cell(1, 7), deep + L"inner.txt");
  PressKey(Files(), VK_BACK);
  EXPECT_EQ(Captions(), (Strings{L"[" + name + L"]", name}));
}

}  // namespace

namespace {

// Counts the top-level windows this thread makes: a dialog that a command would open.
class WindowsMade {
public:
  WindowsMade() : hook_(SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId())) { count_ = 0; }
  ~WindowsMade() { UnhookWindowsHookEx(hook_); }
  int Count() const { return count_; }

private:
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND && !(reinterpret_cast<CBT_CREATEWNDW*>(lp)->lpcs->style & WS_CHILD)) ++count_;
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  static inline int count_ = 0;
  HHOOK hook_;
};

void EachItem(const ui::MenuItem& parent, const std::function<void(const ui::MenuItem&)>& visit) {
  for (const auto& item : parent.Items()) {
    visit(*item);
    EachItem(*item, visit);
  }
}

}  // namespace

TEST_F(ShortCutTest, EveryMenuItemShowsItsCommandsKeyAndOneNeedingASelectionIsRefusedAlikeWithoutOne) {
  // The key each item shows is the one its command is bound to, made from that binding.
  std::vector<std::wstring> shown;
  std::vector<const ui::MenuItem*> needSelection;
  for (const ui::MenuItem* root : {Item(L"mnuExplorer")->Parent(), Item(L"mnuCopyPath")->Parent()}) {
    EachItem(*root, [&](const ui::MenuItem& item) {
      const auto command = Probe().CommandOf(item);
      EXPECT_EQ(item.ShortCut(), command ? ui::KeyText(command->Key, command->Modifiers) : L"") << item.Name;
      if (!item.ShortCut().empty()) shown.push_back(item.Name + L" " + item.ShortCut());
      if (command && command->NeedsSelection) needSelection.push_back(&item);
    });
  }
  EXPECT_EQ(shown, (Strings{L"mnuRefresh F5", L"mnuUndoEdit Ctrl+Z", L"mnuShiftTimes Ctrl+H",
                            L"mnuCopyTimesFrom Ctrl+T", L"mnuTimesFromContent Ctrl+G", L"mnuCopyPath Ctrl+Shift+C",
                            L"mnuEditFileParams Alt+Enter", L"mnuPopShiftTimes Ctrl+H", L"mnuPopCopyTimesFrom Ctrl+T",
                            L"mnuPopTimesFromContent Ctrl+G"}));

  // With nothing selected, a command that acts on the selection is refused the same way from a
  // menu, the pop-up menu's command and its key: no window opens, the clipboard keeps its text.
  ListPath(data);
  CtrlClickRow(FileList(), 0);
  ASSERT_EQ(FileList().SelectedCount(), 0);
  ASSERT_TRUE(testutil::SetClipboardText(L"kept"));
  ASSERT_GE(needSelection.size(), 5u);
  for (const ui::MenuItem* item : needSelection) {
    SCOPED_TRACE(testing::PrintToString(item->Name));
    if (item->Parent()->Parent()) {  // the main menu: its items are greyed when it opens
      SendMessageW(form->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(item->Parent()->SubMenu()), 0);
      EXPECT_FALSE(item->Enabled());
    }
    WindowsMade made;
    ClickMenu(item);
    const auto command = Probe().CommandOf(*item);
    if (command->Key) PressKey(Files(), command->Key, command->Modifiers);
    testutil::PumpMessages();
    EXPECT_EQ(made.Count(), 0);
  }
  EXPECT_EQ(testutil::ClipboardText(), L"kept");
  // With a selection the main menu offers them again.
  ClickRow(FileList(), RowOf(L"a.txt"));
  SendMessageW(form->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Item(L"mnuOptions")->SubMenu()), 0);
  EXPECT_TRUE(Item(L"mnuShiftTimes")->Enabled());
}
