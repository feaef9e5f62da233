// Every command that writes times, run through the real windows over one hostile tree (names that
// differ in letter case only, a name ending in a dot, an 8.3 alias, two names of one file, links to
// folders inside and outside, a read-only file, a file held open; the parent entry selected with
// everything in the folder, every folder reached into), and what must hold on disk after each:
// every entry holds what was asked of it or is named in the report, nothing else changed (nothing
// outside the chosen folder above all), and Undo brings every value back exactly. A new command
// that writes joins the table with one row.
#include "support/EditFixture.h"

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>

#include "support/EditorProbes.h"
#include "support/HostileTree.h"

namespace {

using testutil::Click;
using testutil::HostileKind;
using testutil::Stamps;

constexpr unsigned long long kSecond = 10'000'000, kDay = 864'000'000'000;

class HostileTreeTest;

// One command: what it needs made first, how the user runs it over the whole tree, and the last-write
// time each entry of the chosen folder is to hold afterwards (nothing: the command asks it nothing).
struct Command {
  const wchar_t* Name;
  std::function<void(HostileTreeTest&)> Prepare;
  std::function<void(HostileTreeTest&)> Run;
  std::function<std::optional<unsigned long long>(HostileTreeTest&, const std::wstring& name, const Stamps& before)>
      Asked;
};

class HostileTreeTest : public EditFolderTest {
public:
  HostileTreeTest() : EditFolderTest(L"Unused") {}
  using BrowserTest::ClickButton;

  // The parent entry and everything the chosen folder lists, selected.
  void SelectAll() {
    ListPath(tree->Folder());
    // The tree made anew may still be reported changed: its listing is waited for, whole.
    int listed = 1;  // the parent entry
    for (const testutil::HostileEntry& entry : tree->Entries())
      listed += !entry.Name.empty() && !entry.Name.starts_with(L"..") && entry.Name.find(L'\\') == std::wstring::npos;
    testutil::AnswerUntil([&] { return FileList().Count() == listed; }, std::chrono::seconds(10));
    // Home, then Shift+End: the last rows lie below the list's window, out of a click's reach.
    ClickRow(FileList(), 0);
    PressKey(FileList().Handle(), VK_END, ui::ModShift);
    ASSERT_EQ(static_cast<int>(SelectedRows().size()), listed);
  }
  // A tool's window scripted, started by a key on the list (or a menu item), its preview applied.
  void RunTool(const wchar_t* windowClass, const std::function<void(const TimeToolProbe&)>& script,
               const std::function<void()>& start) {
    SelectAll();
    testutil::WhenShown window(windowClass, [&](HWND wnd) { script(TimeToolProbe(wnd)); });
    testutil::WhenShown preview(L"TfrmPreview", [](HWND wnd) { Click(PreviewProbe(wnd).btnApply()); });
    start();
    EXPECT_EQ(window.Runs(), 1) << windowClass;
  }
  void Key(WORD key, unsigned modifiers) { PressKey(FileList().Handle(), key, modifiers); }
  void Menu(const wchar_t* name) { ClickMenu(Item(name)); }
  // Only the last-write time, into every folder.
  static void LastWriteOnly(const TimeToolProbe& tool) {
    Click(tool.cbFields(0));
    Click(tool.cbFields(2));
    SendMessageW(tool.cbScope(), CB_SETCURSEL, 3, 0);
  }
  // A reference (file, saved times, or folder) typed into a tool and read.
  static void TypeReference(const TimeToolProbe& tool, const std::wstring& path) {
    SetWindowTextW(tool.edReference(), path.c_str());
    SendMessageW(tool.Handle(), WM_TIMER, TfrmCopyTimes::kReadTimer, 0);
    testutil::AnswerUntil([&] { return IsWindowEnabled(tool.btnOK()) != FALSE; }, std::chrono::seconds(10));
  }
  void Restore(const std::wstring& from) {
    RunTool(L"TfrmRestoreTimes", [&](const TimeToolProbe& restore) {
      TypeReference(restore, from);
      LastWriteOnly(restore);
      Click(restore.btnOK());
    }, [&] { ClickMenu(Item(L"mnuRestoreTimes")); });
  }
  // Save Times over the whole tree into `file`, through the standard save dialog.
  void Save(const std::wstring& file) {
    SelectAll();
    testutil::WhenShown window(L"TfrmSaveTimes", [](HWND wnd) {
      const TimeToolProbe save(wnd);
      SendMessageW(save.cbScope(), CB_SETCURSEL, 3, 0);
      Click(save.btnOK());
    });
    testutil::WhenShown dialogs(L"#32770", [file](HWND dialog) {
      for (const int id : {0x47c, 0x480})
        if (HWND name = GetDlgItem(dialog, id)) {
          SetWindowTextW(name, file.c_str());
          PostMessageW(dialog, WM_COMMAND, IDOK, 0);
          return;
        }
      PostMessageW(dialog, WM_COMMAND, IDYES, 0);
    });
    ClickMenu(Item(L"mnuSaveTimes"));
    ASSERT_EQ(window.Runs(), 1);
  }
  std::wstring Base() const { return dir.Path(); }

  enum class Volume { Whole, Fat, ClaimsNtfs };
  // Every command of the table over a tree made in `base`, each on a tree of its own.
  void RunTable(const std::wstring& base, Volume volume);

  std::unique_ptr<testutil::HostileTree> tree;
  std::map<std::wstring, Stamps> saved;  // what a command's preparation kept to compare with
  unsigned long long started = 0;        // a moment before the command ran
  std::optional<unsigned long long> moment;  // the one it gave every entry
};

unsigned long long Local(int y, int mo, int d, int h, int mi, int s, int ms) {
  return testutil::LocalToUtc(y, mo, d, h, mi, s, ms);
}

// The source tree of a restore from another folder: some names of the chosen folder, each with a
// time of its own; the two names of one file there are two files, with two times.
const wchar_t* const kSourceNames[] = {L"a.txt", L"x\\f.txt", L"in\\f.txt", L"IMG_20230514_142233.jpg",
                                       L"2021-01-02 03.04.05.png", L"fout", L"held.txt", L"ro.txt", L"dot."};
unsigned long long SourceTime(std::size_t i) { return UtcFileTime(2031, 1, 1, 0, 0, 0, 0) + i * kDay + 77; }

const Command kCommands[] = {
    {L"Edit File Params", {},
     [](HostileTreeTest& t) {
       t.SelectAll();
       testutil::WhenShown editor(L"TfrmEditFileParams", [](HWND wnd) {
         const EditFileParamsProbe dlg(wnd);
         SendMessageW(dlg.cbScope(), CB_SETCURSEL, 3, 0);
         Click(dlg.cbTimes(0));
         Click(dlg.cbTimes(2));
         SYSTEMTIME day{2019, 6, 0, 15, 0, 0, 0, 0};
         SendMessageW(dlg.dtDates(1), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&day));
         testutil::TypeTime(dlg.edTimes(1), L"101112345");
         HostileTreeTest::ClickButton(dlg.Button(L"btnUpdate"));
       });
       testutil::WhenShown preview(L"TfrmPreview", [](HWND wnd) { Click(PreviewProbe(wnd).btnApply()); });
       t.Key(VK_RETURN, ui::ModAlt);
       EXPECT_EQ(editor.Runs(), 1);
     },
     [](HostileTreeTest&, const std::wstring&, const Stamps&) -> std::optional<unsigned long long> {
       return Local(2019, 6, 15, 10, 11, 12, 345);
     }},
    {L"Set to Now",
     [](HostileTreeTest& t) {
       FILETIME clock{};
       GetSystemTimeAsFileTime(&clock);
       t.started = (static_cast<unsigned long long>(clock.dwHighDateTime) << 32) | clock.dwLowDateTime;
       t.moment.reset();
     },
     [](HostileTreeTest& t) {
       t.RunTool(L"TfrmSetNow", [](const TimeToolProbe& now) {
         HostileTreeTest::LastWriteOnly(now);
         Click(now.btnOK());
       }, [&] { t.Menu(L"mnuSetToNow"); });
     },
     // One moment for every entry, taken after the run began (FAT may cut it by up to 2 s): the first
     // such time found; an entry holding none was not written and must be named.
     [](HostileTreeTest& t, const std::wstring& name, const Stamps&) -> std::optional<unsigned long long> {
       const unsigned long long now = testutil::ReadStamps(t.tree->PathOf(name)).Written;
       if (now + 2 * kSecond <= t.started) return t.started;
       if (!t.moment) t.moment = now;
       return *t.moment;
     }},
    {L"Shift Times", {},
     [](HostileTreeTest& t) {
       t.RunTool(L"TfrmShiftTimes", [](const TimeToolProbe& shift) {
         HostileTreeTest::LastWriteOnly(shift);
         Click(shift.rbLater());
         SetWindowTextW(shift.edParts(3), L"1");
         Click(shift.btnOK());
       }, [&] { t.Key('H', ui::ModCtrl); });
     },
     [](HostileTreeTest&, const std::wstring&, const Stamps& before) -> std::optional<unsigned long long> {
       return before.Written + kSecond;
     }},
    {L"Copy Times From",
     [](HostileTreeTest& t) {
       ASSERT_TRUE(SetTimes(MakeFile(t.Base() + L"reference.txt"), 0, 0, UtcFileTime(2022, 2, 2, 2, 2, 2, 2) + 3));
     },
     [](HostileTreeTest& t) {
       t.RunTool(L"TfrmCopyTimes", [&](const TimeToolProbe& copy) {
         HostileTreeTest::TypeReference(copy, t.Base() + L"reference.txt");
         HostileTreeTest::LastWriteOnly(copy);
         Click(copy.btnOK());
       }, [&] { t.Key('T', ui::ModCtrl); });
     },
     [](HostileTreeTest&, const std::wstring&, const Stamps&) -> std::optional<unsigned long long> {
       return UtcFileTime(2022, 2, 2, 2, 2, 2, 2) + 3;
     }},
    {L"Times From Content", {},
     [](HostileTreeTest& t) {
       t.RunTool(L"TfrmTimesFromContent", [](const TimeToolProbe& content) {
         Click(content.rbName());
         HostileTreeTest::LastWriteOnly(content);
         Click(content.btnOK());
       }, [&] { t.Key('G', ui::ModCtrl); });
     },
     // The dates in the names; one file under both names gets one of them, the other name is named.
     [](HostileTreeTest&, const std::wstring& name, const Stamps&) -> std::optional<unsigned long long> {
       if (name == L"IMG_20230514_142233.jpg") return Local(2023, 5, 14, 14, 22, 33, 0);
       if (name == L"2021-01-02 03.04.05.png") return Local(2021, 1, 2, 3, 4, 5, 0);
       return std::nullopt;
     }},
    {L"Restore Times from a file",
     [](HostileTreeTest& t) {
       const std::wstring file = t.Base() + L"times.csv";
       t.Save(file);
       t.saved = t.tree->Read();
       // Rows a save never writes but a file may hold: through a link, and by an 8.3 alias.
       std::string extra = "jout\\secret.txt,F,0,,0,,0,,00000020\r\n";
       if (!t.tree->Alias().empty())
         extra += std::string(t.tree->Alias().begin(), t.tree->Alias().end()) + ",F,0,,0,,0,,00000020\r\n";
       HANDLE h = CreateFileW(file.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING, 0, nullptr);
       ASSERT_NE(h, INVALID_HANDLE_VALUE);
       DWORD written = 0;
       WriteFile(h, extra.data(), static_cast<DWORD>(extra.size()), &written, nullptr);
       CloseHandle(h);
       // Another program changes every time since.
       for (const testutil::HostileEntry& entry : t.tree->Entries()) {
         if (entry.Kind == HostileKind::Plain) {
           ASSERT_TRUE(t.tree->Stamp(entry.Name, t.saved[entry.Name].Written + kDay));
         }
       }
     },
     [](HostileTreeTest& t) { t.Restore(t.Base() + L"times.csv"); },
     // Each saved entry its own saved time; the folder itself and a name Windows trims are not saved.
     [](HostileTreeTest& t, const std::wstring& name, const Stamps&) -> std::optional<unsigned long long> {
       if (name.empty() || name == L"dot.") return std::nullopt;
       return t.saved[name].Written;
     }},
    {L"Restore Times from a folder",
     [](HostileTreeTest& t) {
       const std::wstring source = t.Base() + L"Source\\";
       MakeFolder(source.substr(0, source.size() - 1));
       MakeFolder(source + L"x");
       MakeFolder(source + L"in");
       for (std::size_t i = 0; i < std::size(kSourceNames); ++i) {
         CloseHandle(CreateFileW(testutil::Verbatim(source + kSourceNames[i]).c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_ALWAYS, 0, nullptr));
         ASSERT_TRUE(SetTimes(testutil::Verbatim(source + kSourceNames[i]), 0, 0, SourceTime(i))) << kSourceNames[i];
       }
     },
     [](HostileTreeTest& t) { t.Restore(t.Base() + L"Source"); },
     [](HostileTreeTest& t, const std::wstring& name, const Stamps&) -> std::optional<unsigned long long> {
       for (std::size_t i = 0; i < std::size(kSourceNames); ++i)
         if (name == kSourceNames[i]) return SourceTime(i);
       if (name == L"x" || name == L"in") return testutil::ReadStamps(t.Base() + L"Source\\" + name).Written;
       return std::nullopt;
     }},
};

bool Named(const std::vector<std::wstring>& reports, const std::wstring& path) {
  return std::any_of(reports.begin(), reports.end(),
                     [&](const std::wstring& report) { return report.find(path + L":") != std::wstring::npos; });
}

// A FAT volume keeps the last write to 2 s: cut (this driver) or rounded up (Windows).
bool KeptAsFat(unsigned long long now, unsigned long long asked) {
  constexpr unsigned long long kTwo = 2 * kSecond;
  return now % kTwo == 0 && (now == asked - asked % kTwo || now == asked - asked % kTwo + kTwo);
}

void HostileTreeTest::RunTable(const std::wstring& base, Volume volume) {
  SCOPED_TRACE(testing::PrintToString(base));
  const bool fat = volume != Volume::Whole;
  for (const Command& command : kCommands) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(command.Name)));
    testutil::RemoveTree(dir.Path() + L"Source");
    tree = std::make_unique<testutil::HostileTree>(base, volume == Volume::Whole);
    // Made where every part of the tree can be: links, a trailing dot, two names of a file; and
    // under Wine names that differ in case only (Windows makes them only where a folder is told to
    // tell case apart).
    if (volume == Volume::Whole) {
      std::vector<std::wstring> needed = {L"dot.", L"2021-01-02 03.04.05.png", L"jin", L"jout"};
      if (testutil::RunningUnderWine()) needed.insert(needed.end(), {L"A.txt", L"X", L"fout"});
      for (const std::wstring& name : needed) ASSERT_TRUE(tree->Has(name)) << testing::PrintToString(name);
    }
    if (command.Prepare) command.Prepare(*this);
    reports.clear();
    const std::map<std::wstring, Stamps> before = tree->Read();
    command.Run(*this);
    const std::map<std::wstring, Stamps> after = tree->Read();
    for (const testutil::HostileEntry& entry : tree->Entries()) {
      SCOPED_TRACE(testing::PrintToString(entry.Name));
      const Stamps& was = before.at(entry.Name);
      const Stamps& now = after.at(entry.Name);
      // What a link leads to is checked where it lies; under Wine the link reads as its target.
      if (entry.Kind == HostileKind::Link) continue;
      EXPECT_EQ(now.Attributes, was.Attributes);
      // No command asks for it; a FAT volume keeps none of its own.
      if (!entry.Folder && !fat) {
        EXPECT_EQ(now.Accessed, was.Accessed);
      }
      const std::optional<unsigned long long> asked =
          entry.Kind == HostileKind::Plain ? command.Asked(*this, entry.Name, was) : std::nullopt;
      if (!asked) {
        EXPECT_EQ(now.Written, was.Written) << "written though nothing was asked of it";
      } else if (now.Written != *asked && !(volume == Volume::Fat && KeptAsFat(now.Written, *asked))) {
        EXPECT_TRUE(Named(reports, tree->PathOf(entry.Name)))
            << "holds " << now.Written << ", asked " << *asked << ", not named in " << testing::PrintToString(reports);
      }
    }
    // Undo takes the run back exactly, with nothing said to have changed since.
    reports.clear();
    Key('Z', ui::ModCtrl);
    const std::map<std::wstring, Stamps> undone = tree->Read();
    for (const testutil::HostileEntry& entry : tree->Entries()) {
      if (entry.Kind == HostileKind::Link) continue;
      const Stamps& was = before.at(entry.Name);
      const Stamps& now = undone.at(entry.Name);
      EXPECT_EQ(now.Written, was.Written) << "after Undo: " << testing::PrintToString(entry.Name);
      EXPECT_EQ(now.Attributes, was.Attributes) << "after Undo: " << testing::PrintToString(entry.Name);
    }
    EXPECT_TRUE(reports.empty()) << testing::PrintToString(reports);
    ListPath(dir.Path());  // the tree goes: the list lets go of it first
    tree.reset();
  }
}

}  // namespace

TEST_F(HostileTreeTest, EveryCommandThatWritesGivesEachEntryWhatItAskedOrNamesItAndUndoBringsAllBack) {
  // The tree where it can be made whole, then on the FAT volume (which rounds, and drops a write of
  // the last write alone) as its drive says FAT, and as the same folder says NTFS without its device.
  RunTable(dir.Path(), Volume::Whole);
  const wchar_t* mounted = _wgetenv(L"PW_FAT_FOLDER");
  const wchar_t* image = _wgetenv(L"PW_FAT_IMAGE");
  if (!mounted || !image) {
    std::printf("No FAT volume: the tree runs on the temporary folder only\n");
    return;
  }
  for (const Volume volume : {Volume::Fat, Volume::ClaimsNtfs}) {
    testutil::TestDrive drive(mounted, volume == Volume::Fat ? std::wstring(image) : std::wstring());
    ASSERT_NE(drive.Letter(), 0);
    const std::wstring base = drive.Root() + L"hostile\\";
    testutil::RemoveTree(base);
    ASSERT_TRUE(CreateDirectoryW(base.c_str(), nullptr));
    RunTable(base, volume);
    testutil::RemoveTree(base);
  }
}
