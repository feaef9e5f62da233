// A folder of a few hundred thousand entries on the real main window: it lists in the background
// (the window answers while it runs) with a running count, ends in order with the selection the
// Parts give or the one the user made meanwhile; Esc, another folder and closing the window stop it.
#include "support/BrowserFixture.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "common/core/CaselessText.h"

namespace {

constexpr int kEntries = 200000;  // every thousandth a folder
constexpr int kFolders = kEntries / 1000;

std::wstring Name(int i) {
  wchar_t name[32];
  if (i % 1000 == 999) swprintf(name, 32, L"folder%03d", i / 1000);
  else swprintf(name, 32, L"entry%06d.dat", i);
  return name;
}

// The folder the test run makes on the host, where that takes seconds (through Wine every new name
// is looked up in the whole folder first, which would take hours); made here where there is none.
const std::wstring& BigFolder() {
  static const std::wstring folder = [] {
    wchar_t given[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"PW_BIG_FOLDER", given, MAX_PATH)) return std::wstring(given) + L"\\";
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring made = std::wstring(temp) + L"pathwick-big\\";
    const std::wstring complete = std::wstring(temp) + L"pathwick-big.complete";
    if (GetFileAttributesW(complete.c_str()) == INVALID_FILE_ATTRIBUTES) {
      CreateDirectoryW(made.c_str(), nullptr);
      for (int i = 0; i < kEntries; ++i) {
        if (i % 1000 == 999) CreateDirectoryW((made + Name(i)).c_str(), nullptr);
        else ui::ScopedHandle(CreateFileW((made + Name(i)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
      }
      ui::ScopedHandle(CreateFileW(complete.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    return made;
  }();
  return folder;
}

class BackgroundListingTest : public BrowserTest {
protected:
  bool Listing() const { return Status().Text(2).starts_with(L"Listing..."); }
  // Answers the window's messages until the running listing has ended.
  void WaitForTheEnd() const { testutil::AnswerUntil([this] { return !Listing(); }, std::chrono::minutes(2)); }
  // Answers the window's messages for a while, for what a stopped listing might still send.
  static void Linger() { testutil::AnswerUntil({}, std::chrono::milliseconds(400)); }
  int FileRows() const {
    int files = 0;
    for (int row = 0, rows = FileList().Count(); row < rows; ++row) files += Probe().SubText(row, 7) == L"F";
    return files;
  }
};

}  // namespace

TEST_F(BackgroundListingTest, AHugeFolderListsInTheBackgroundAndEndsInOrderWithItsParentSelected) {
  // Another program asks the window something while the folder lists, and is answered.
  HWND window = form->Handle();
  std::atomic<bool> asking{false}, answered{false};
  std::thread other([&] {
    while (!asking) std::this_thread::yield();
    DWORD_PTR result = 0;
    answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
  });
  ListPath(BigFolder());
  ASSERT_TRUE(Listing()) << "a folder of " << kEntries << " entries listed within the first slice";
  asking = true;
  testutil::AnswerUntil([&] { return answered.load(); }, std::chrono::seconds(5));
  EXPECT_TRUE(answered && Listing());
  other.join();
  // The first entries show before the end, with the count so far.
  testutil::AnswerUntil([this] { return !Listing() || FileList().Count() > 0; }, std::chrono::minutes(2));
  const int rowsWhileListing = FileList().Count();
  EXPECT_TRUE(Listing());
  EXPECT_GT(rowsWhileListing, 0);
  EXPECT_LT(rowsWhileListing, kEntries + 1);
  EXPECT_EQ(Status().Text(2).find(L" entries"), Status().Text(2).size() - 8) << testing::PrintToString(Status().Text(2));

  WaitForTheEnd();
  ASSERT_EQ(FileList().Count(), kEntries + 1);
  EXPECT_EQ(Status().Text(0), L"Files: " + std::to_wstring(kEntries - kFolders));
  EXPECT_EQ(Status().Text(1), L"Folders: " + std::to_wstring(kFolders));
  EXPECT_EQ(Status().Text(2), L"");
  // The list's order: the parent entry, the folders, the files, each by name.
  EXPECT_EQ(Cell(0, 0), ParentCaptionOf(BigFolder()));
  EXPECT_EQ(Cell(1, 0), L"folder000");
  EXPECT_EQ(Cell(kFolders, 0), Name(kEntries - 1));
  EXPECT_EQ(Cell(kFolders + 1, 0), L"entry000000.dat");
  std::wstring previous = Cell(kFolders + 1, 0);
  for (int row = kFolders + 2; row <= kEntries; row += 997) {
    const std::wstring caption = Cell(row, 0);
    EXPECT_LT(pw::CaselessCompare(previous, caption), 0) << row;
    previous = caption;
  }
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});
  EXPECT_EQ(PathLine(), BigFolder());
}

TEST_F(BackgroundListingTest, WhatTheUserSelectsWhileItListsStaysSelected) {
  ListPath(BigFolder());
  ASSERT_TRUE(Listing());
  testutil::AnswerUntil([this] { return !Listing() || FileList().Count() >= 10; }, std::chrono::minutes(2));
  ClickRow(FileList(), 7);
  const std::wstring chosen = Cell(7, 0);
  WaitForTheEnd();
  const std::vector<int> selected = SelectedRows();
  ASSERT_EQ(selected.size(), 1u);
  EXPECT_EQ(Cell(selected[0], 0), chosen);
  EXPECT_EQ(FileList().Focused(), selected[0]);
}

TEST_F(BackgroundListingTest, EscAnotherFolderAndClosingTheWindowStopIt) {
  ListPath(BigFolder());
  ASSERT_TRUE(Listing());
  PressKey(FileList().Handle(), VK_ESCAPE);
  const int shown = FileList().Count();
  EXPECT_TRUE(Status().Text(2).starts_with(L"Listing stopped: ")) << testing::PrintToString(Status().Text(2));
  EXPECT_LT(shown, kEntries + 1);
  Linger();
  EXPECT_EQ(FileList().Count(), shown);  // nothing more of it comes
  EXPECT_EQ(Status().Text(0), L"Files: " + std::to_wstring(FileRows()));

  // Another folder while one lists: the new one stays whole.
  testutil::TempDir small;
  MakeFile(small.Path() + L"only.txt");
  ListPath(BigFolder());
  ASSERT_TRUE(Listing());
  ListPath(small.Path());
  // Wine reads one folder at a time: the small one waits for the block the stopped listing reads.
  testutil::AnswerUntil([this] { return FileList().Count() > 0; }, std::chrono::seconds(20));
  Linger();
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{ParentCaptionOf(small.Path()), L"only.txt"}));
  EXPECT_EQ(Status().Text(0), L"Files: 1");

  // Closing the window while a listing runs.
  ListPath(BigFolder());
  ASSERT_TRUE(Listing());
  form.reset();
  Linger();
}

TEST_F(BackgroundListingTest, AFolderMovedAwayWhileItListsEndsWithWhatItHeld) {
  // The listed folder is the current directory, which Windows would not let go.
  const std::wstring moved = BigFolder().substr(0, BigFolder().size() - 1) + L" moved";
  ListPath(BigFolder());
  ASSERT_TRUE(Listing());
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  SetCurrentDirectoryW(temp);
  ASSERT_TRUE(MoveFileW(BigFolder().c_str(), moved.c_str()));
  WaitForTheEnd();
  const int rows = FileList().Count();
  EXPECT_FALSE(Listing());
  EXPECT_EQ(Status().Text(0), L"Files: " + std::to_wstring(FileRows()));
  PressKey(FileList().Handle(), VK_F5);  // gone from its place: the list stays as it was
  EXPECT_EQ(FileList().Count(), rows);
  ASSERT_TRUE(MoveFileW(moved.c_str(), BigFolder().substr(0, BigFolder().size() - 1).c_str()));
}
