// A folder of a few hundred thousand entries on the real main window: it lists in the background
// (the window answers while it runs) with a running count, ends in order with the selection the
// Parts give or the one the user made meanwhile; Esc, another folder and closing the window stop it.
// Every listing is held after its first block until the test lets it end, so that it is still
// running where the test needs it to, however fast or slow the machine is.
#include "support/BrowserFixture.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "browse/platform/DirectoryBlocks.h"
#include "browse/platform/FolderFeed.h"
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

// Stand-ins for the system's directory query: one that holds every listing after its first block
// until the test lets listings end (at most two minutes, should a test fail to), a redirector that
// takes no block over 64 KB, and a volume that fails after its first block.
HANDLE ListingsMayEnd() {
  static const ui::ScopedHandle event(CreateEventW(nullptr, TRUE, TRUE, nullptr));
  return event.get();
}
LONG NTAPI HeldAfterTheFirstBlock(HANDLE f, HANDLE e, void* apc, void* c, IO_STATUS_BLOCK* io, void* buffer,
                                  ULONG length, int infoClass, BOOLEAN single, UNICODE_STRING* mask, BOOLEAN restart) {
  if (!restart) WaitForSingleObject(ListingsMayEnd(), 120000);
  return pw::SystemDirectoryQuery()(f, e, apc, c, io, buffer, length, infoClass, single, mask, restart);
}

std::vector<ULONG> g_asked;
LONG NTAPI RefusesLargeBlocks(HANDLE f, HANDLE e, void* apc, void* c, IO_STATUS_BLOCK* io, void* buffer, ULONG length,
                              int infoClass, BOOLEAN single, UNICODE_STRING* mask, BOOLEAN restart) {
  g_asked.push_back(length);
  if (length > 64 * 1024) return static_cast<LONG>(0xC000000DL);  // STATUS_INVALID_PARAMETER
  return pw::SystemDirectoryQuery()(f, e, apc, c, io, buffer, length, infoClass, single, mask, restart);
}
LONG NTAPI FailsAfterOneBlock(HANDLE f, HANDLE e, void* apc, void* c, IO_STATUS_BLOCK* io, void* buffer, ULONG,
                              int infoClass, BOOLEAN single, UNICODE_STRING* mask, BOOLEAN restart) {
  if (!restart) return static_cast<LONG>(0xC00000C4L);  // STATUS_UNEXPECTED_NETWORK_ERROR
  return pw::SystemDirectoryQuery()(f, e, apc, c, io, buffer, 4096, infoClass, single, mask, restart);
}

class BackgroundListingTest : public BrowserTest {
protected:
  BackgroundListingTest() { folderQuery = HeldAfterTheFirstBlock; }
  void SetUp() override {
    HoldListings();
    BrowserTest::SetUp();
  }
  void TearDown() override {
    LetListingsEnd();  // a worker still held goes on, and ends with its stopped listing
    BrowserTest::TearDown();
  }
  static void HoldListings() { ResetEvent(ListingsMayEnd()); }
  static void LetListingsEnd() { SetEvent(ListingsMayEnd()); }

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
  ListPath(BigFolder());
  ASSERT_TRUE(Listing());
  // Another program asks the window something while the folder lists, and is answered. The thread
  // is joined however the test ends: it waits for the answer a bounded time.
  const HWND window = form->Handle();
  std::atomic<bool> answered{false};
  std::jthread other([&] {
    DWORD_PTR result = 0;
    answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result) != 0;
  });
  testutil::AnswerUntil([&] { return answered.load(); }, std::chrono::seconds(60));
  other.join();
  EXPECT_TRUE(answered && Listing());
  // The first entries show before the end, with the count so far.
  testutil::AnswerUntil([this] { return !Listing() || FileList().Count() > 0; }, std::chrono::minutes(2));
  const int rowsWhileListing = FileList().Count();
  EXPECT_TRUE(Listing());
  EXPECT_GT(rowsWhileListing, 0);
  EXPECT_LT(rowsWhileListing, kEntries + 1);
  EXPECT_EQ(Status().Text(2).find(L" entries"), Status().Text(2).size() - 8) << testing::PrintToString(Status().Text(2));

  LetListingsEnd();
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

TEST_F(BackgroundListingTest, WhatTheUserSortsAndSelectsWhileItListsStaysWithItsEntry) {
  ListPath(BigFolder());
  ASSERT_TRUE(Listing());
  testutil::AnswerUntil([this] { return !Listing() || FileList().Count() >= 10; }, std::chrono::minutes(2));
  // The rows shown so far are sorted the other way round, then one of them is chosen: at the end
  // the same entry is selected, wherever the whole listing put it.
  testutil::ClickColumn(*form, 0);
  ClickRow(FileList(), 7);
  const std::wstring chosen = Cell(7, 0);
  ASSERT_TRUE(Listing());
  LetListingsEnd();
  WaitForTheEnd();
  EXPECT_EQ(SelectedCaptions(), std::vector<std::wstring>{chosen});
  EXPECT_EQ(FocusedCaption(), chosen);
  EXPECT_EQ(PathLine(), BigFolder() + chosen);
  EXPECT_EQ(Cell(1, 0), Name(kEntries - 2));  // by name, the other way round
}

TEST_F(BackgroundListingTest, APathTypedWhileItListsKeepsTheFocusAndItsText) {
  ListPath(BigFolder());
  ASSERT_TRUE(Listing());
  const HWND line = Probe().PathLine();
  PressKey(FileList().Handle(), 'L', ui::ModCtrl);
  ASSERT_EQ(GetFocus(), line);
  for (const wchar_t c : std::wstring(L"C:\\wind")) SendMessageW(line, WM_CHAR, c, 0);
  const std::wstring typed = PathLine();
  ASSERT_TRUE(typed.ends_with(L"C:\\wind")) << testing::PrintToString(typed);
  ASSERT_TRUE(Listing());
  LetListingsEnd();
  WaitForTheEnd();
  EXPECT_EQ(GetFocus(), line);
  EXPECT_EQ(PathLine(), typed);
  EXPECT_EQ(SelectedRows(), std::vector<int>{0});  // the listing still selects its parent entry
  // Esc gives the line back the current path: the parent entry's, the folder itself.
  PressKey(line, VK_ESCAPE);
  EXPECT_EQ(PathLine(), BigFolder());
  EXPECT_EQ(GetFocus(), FileList().Handle());
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
  LetListingsEnd();
  // Wine reads one folder at a time: the small one waits for the block the stopped listing reads.
  testutil::AnswerUntil([this] { return !Listing() && FileList().Count() > 0; }, std::chrono::minutes(2));
  Linger();
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{ParentCaptionOf(small.Path()), L"only.txt"}));
  EXPECT_EQ(Status().Text(0), L"Files: 1");

  // Closing the window while a listing runs.
  HoldListings();
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
  LetListingsEnd();
  WaitForTheEnd();
  // The folder was open while it moved: it is read to its end, every entry of it.
  const int rows = FileList().Count();
  EXPECT_FALSE(Listing());
  EXPECT_EQ(rows, kEntries + 1);
  EXPECT_EQ(Cell(1, 0), L"folder000");
  EXPECT_EQ(Cell(rows - 1, 0), Name(kEntries - 2));
  EXPECT_EQ(Status().Text(0), L"Files: " + std::to_wstring(FileRows()));
  PressKey(FileList().Handle(), VK_F5);  // gone from its place: the list stays as it was
  EXPECT_EQ(FileList().Count(), rows);
  ASSERT_TRUE(MoveFileW(moved.c_str(), BigFolder().substr(0, BigFolder().size() - 1).c_str()));
}

TEST_F(BackgroundListingTest, AVolumeThatRefusesLargeBlocksOrFailsMidwayIsNeverListedAsWhole) {
  testutil::TempDir folder;
  for (int i = 0; i < 3000; ++i) MakeFile(folder.Path() + L"a-rather-long-file-name-for-the-blocks-" + std::to_wstring(i));
  ui::ScopedWindow sink(CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
  const auto list = [&](pw::DirectoryQuery query) {
    pw::FolderFeed feed(sink.get(), WM_APP, pw::FolderFeed::kWatchBytes, query);
    const unsigned listing = feed.Start(folder.Path(), pw::ListingOptions{}, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(feed.WaitForEnd(120000));
    std::optional<pw::FolderFeed::Progress> taken = feed.Take(listing);
    EXPECT_TRUE(taken && taken->Ended);
    return taken ? std::move(*taken) : pw::FolderFeed::Progress{};
  };
  // A redirector that refuses blocks over 64 KB: the same block is asked again, smaller, and the
  // folder is read whole in blocks of 64 KB at most. The first block is small, the next ones grow.
  const pw::FolderFeed::Progress whole = list(RefusesLargeBlocks);
  EXPECT_EQ(whole.Error, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(whole.Sorted.size(), 3001u);  // the parent entry and every file
  ASSERT_GE(g_asked.size(), 5u);
  EXPECT_EQ(g_asked[0], pw::DirectoryReader::kFirstBlockBytes);
  EXPECT_LT(g_asked[0], g_asked[1]);
  const auto refused = std::find(g_asked.begin(), g_asked.end(), 128 * 1024);
  ASSERT_NE(refused, g_asked.end());
  EXPECT_TRUE(std::all_of(refused + 1, g_asked.end(), [](ULONG n) { return n == 64 * 1024; }));

  // A volume that fails after its first block: the listing ends unread, never as a whole folder.
  const pw::FolderFeed::Progress broken = list(FailsAfterOneBlock);
  EXPECT_NE(broken.Error, static_cast<DWORD>(ERROR_SUCCESS));
  // And no status the system has becomes "success" on the way: an error of 0 is never a whole listing.
  for (const ULONG status : {0xC0000001ul, 0xC00000C4ul, 0x80000005ul, 0xC0001234ul, 0x80001234ul})
    EXPECT_NE(pw::ErrorOfStatus(static_cast<LONG>(status)), static_cast<DWORD>(ERROR_SUCCESS)) << status;
}

TEST(HungListing, TheProcessEndsThoughAWorkerHangsOnAFolderThatNeverAnswers) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring tool = self;
  tool = tool.substr(0, tool.find_last_of(L'\\') + 1) + L"pw_hung_listing.exe";
  std::wstring command = L"\"" + tool + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  ui::ScopedHandle process(pi.hProcess), thread(pi.hThread);
  const bool ended = WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(pi.hProcess, 9);
  EXPECT_TRUE(ended) << "the process stays alive while a listing's worker hangs";
  DWORD code = 9;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);
}
