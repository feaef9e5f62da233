// Shift Times and Copy Times From on real files through the real windows: exact to the 100 ns,
// with the preview listing every entry, Cancel writing nothing, a run reaching into a small tree
// (the editor's too), and Undo Edit taking a run back.
#include "support/EditFixture.h"

#include <commctrl.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>

#include "support/EditorProbes.h"

namespace {

using testutil::Click;
using testutil::Stamps;
Stamps Read(const std::wstring& path) { return testutil::ReadStamps(path); }


constexpr unsigned long long kHourAndAHalf = 54'000'000'000;  // 100-ns units

class TimeToolsTest : public EditFolderTest {
protected:
  TimeToolsTest() : EditFolderTest(L"Tools") {}
  // Runs a tool by its key with scripts for its window and for the preview; returns how many
  // previews were shown.
  int RunTool(WORD key, const std::function<void(HWND)>& tool, const std::function<void(const PreviewProbe&)>& preview) {
    testutil::WhenShown window(key == 'H' ? L"TfrmShiftTimes" : key == 'T' ? L"TfrmCopyTimes" : L"TfrmTimesFromContent",
                               tool);
    testutil::WhenShown shown(L"TfrmPreview", [&](HWND wnd) { preview(PreviewProbe(wnd)); });
    PressKey(FileList().Handle(), key, ui::ModCtrl);
    EXPECT_EQ(window.Runs(), 1);
    return shown.Runs();
  }
  static void SetOffset(const TimeToolProbe& shift, bool earlier, int hours, int minutes) {
    Click(earlier ? shift.rbEarlier() : shift.rbLater());
    SetWindowTextW(shift.edParts(1), std::to_wstring(hours).c_str());
    SetWindowTextW(shift.edParts(2), std::to_wstring(minutes).c_str());
  }
  // Types the reference's path; it is read once the pause after typing is over (the timer, sent
  // here) and its answer has come from the thread that reads it.
  static void TypeReference(const TimeToolProbe& copy, const std::wstring& path) {
    SetWindowTextW(copy.edReference(), path.c_str());
    EXPECT_FALSE(IsWindowEnabled(copy.btnOK()));  // nothing read yet: typing never waits for the disk
    SendMessageW(copy.Handle(), WM_TIMER, TfrmCopyTimes::kReadTimer, 0);
    testutil::AnswerUntil([&] { return testutil::WindowText(copy.lblStamps()) != L"Reading..."; },
                          std::chrono::seconds(10));
  }
};

}  // namespace

TEST_F(TimeToolsTest, ShiftMovesEachEntrysOwnStampsByExactlyTheOffsetAfterAPreviewOfEveryEntry) {
  const std::wstring names[] = {L"a.jpg", L"b.jpg", L"c.jpg"};
  Stamps before[3];
  for (int i = 0; i < 3; ++i) {
    const std::wstring path = MakeFile(At(names[i]));
    ASSERT_TRUE(SetTimes(path, 0, UtcFileTime(2021, 10, 31, 1, i * 20, 0, 0) + 1234 + i,
                         UtcFileTime(2020, 3, 29, i, 30, 0, 999) + 4321 * i));
    before[i] = Read(path);
  }
  Select({names[0], names[1], names[2]});
  int rows = 0;
  const int previews = RunTool('H', [&](HWND wnd) {
    const TimeToolProbe shift(wnd);
    EXPECT_EQ(testutil::WindowText(wnd), L"Shift Times");
    EXPECT_FALSE(IsWindowEnabled(shift.btnOK()));  // no offset yet
    EXPECT_FALSE(IsWindowEnabled(shift.cbScope()));  // no folder selected
    SetOffset(shift, true, 1, 30);
    EXPECT_TRUE(IsWindowEnabled(shift.btnOK()));
    Click(shift.btnOK());
  }, [&](const PreviewProbe& preview) {
    rows = preview.lvEntries().Count();
    Click(preview.btnApply());
  });
  EXPECT_EQ(previews, 1);
  EXPECT_EQ(rows, 3);  // every entry that changes
  for (int i = 0; i < 3; ++i) {
    const Stamps after = Read(At(names[i]));
    EXPECT_EQ(after.Written, before[i].Written - kHourAndAHalf) << i;
    EXPECT_EQ(after.Accessed, before[i].Accessed - kHourAndAHalf) << i;
    EXPECT_EQ(after.Created, before[i].Created - kHourAndAHalf) << i;
  }
  EXPECT_TRUE(reports.empty()) << testing::PrintToString(reports);
  EXPECT_TRUE(Item(L"mnuUndoEdit")->Enabled());
  // The list shows the new times.
  EXPECT_TRUE(Cell(RowOf(L"a.jpg"), 4).ends_with(L"00:00:00:999")) << testing::PrintToString(Cell(RowOf(L"a.jpg"), 4));

  // Undo takes the run back exactly.
  PressKey(FileList().Handle(), 'Z', ui::ModCtrl);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Read(At(names[i])), before[i]) << i;
}

TEST_F(TimeToolsTest, CopyGivesTheReferencesStampsToTheHundredNanosecondsAndCancelWritesNothing) {
  const std::wstring reference = MakeFile(dir.Path() + L"reference.txt");
  ASSERT_TRUE(SetTimes(reference, 0, UtcFileTime(2003, 4, 5, 6, 7, 8, 9) + 1234,
                       UtcFileTime(2001, 2, 3, 4, 5, 6, 7) + 8901));
  const Stamps source = Read(reference);
  const std::wstring x = MakeFile(At(L"x.txt")), y = MakeFile(At(L"y.txt"));
  const Stamps xBefore = Read(x), yBefore = Read(y);
  Select({L"x.txt", L"y.txt"});

  // Cancel in the tool's window, then in the preview: nothing is written.
  RunTool('T', [](HWND wnd) { Click(TimeToolProbe(wnd).btnCancel()); }, [](const PreviewProbe&) { ADD_FAILURE(); });
  EXPECT_EQ(RunTool('T', [&](HWND wnd) {
              const TimeToolProbe copy(wnd);
              TypeReference(copy, reference);
              Click(copy.btnOK());
            }, [](const PreviewProbe& preview) { Click(preview.btnCancel()); }), 1);
  EXPECT_EQ(Read(x), xBefore);
  EXPECT_EQ(Read(y), yBefore);
  EXPECT_FALSE(Item(L"mnuUndoEdit")->Enabled());

  RunTool('T', [&](HWND wnd) {
    const TimeToolProbe copy(wnd);
    EXPECT_EQ(testutil::WindowText(wnd), L"Copy Times From");
    TypeReference(copy, reference + L"-gone");
    EXPECT_FALSE(IsWindowEnabled(copy.btnOK()));  // nothing to copy from
    EXPECT_EQ(testutil::WindowText(copy.lblStamps()), L"There is no file or folder of that name.");
    TypeReference(copy, reference);
    Click(copy.cbFields(0));  // not the creation time
    Click(copy.btnOK());
  }, [](const PreviewProbe& preview) { Click(preview.btnApply()); });
  for (const std::wstring& path : {x, y}) {
    EXPECT_EQ(Read(path).Written, source.Written);
    EXPECT_EQ(Read(path).Accessed, source.Accessed);
  }
}

TEST_F(TimeToolsTest, AScopedRunReachesIntoTheSelectedFolderTheEditorsToo) {
  const std::wstring tree = MakeFolder(At(L"Tree"));
  const std::wstring sub = MakeFolder(tree + L"Sub");
  const std::wstring inside[] = {MakeFile(tree + L"one.txt"), MakeFile(sub + L"two.txt")};
  const std::wstring outside = MakeFile(At(L"outside.txt"));
  const Stamps outsideBefore = Read(outside);
  const Stamps oneBefore = Read(inside[0]), twoBefore = Read(inside[1]), subBefore = Read(sub);
  Select({L"Tree"});

  int rows = 0;
  RunTool('H', [&](HWND wnd) {
    const TimeToolProbe shift(wnd);
    EXPECT_TRUE(IsWindowEnabled(shift.cbScope()));
    SendMessageW(shift.cbScope(), CB_SETCURSEL, 1, 0);  // also the files inside
    Click(shift.rbLater());
    SetWindowTextW(shift.edParts(0), L"1");  // a day later
    Click(shift.btnOK());
  }, [&](const PreviewProbe& preview) {
    rows = preview.lvEntries().Count();
    Click(preview.btnApply());
  });
  constexpr unsigned long long kDay = 864'000'000'000;
  EXPECT_EQ(rows, 3);  // the folder and the two files inside, not the sub-folder
  EXPECT_EQ(Read(inside[0]).Written, oneBefore.Written + kDay);
  EXPECT_EQ(Read(inside[1]).Written, twoBefore.Written + kDay);
  EXPECT_EQ(Read(sub).Written, subBefore.Written);
  EXPECT_EQ(Read(outside), outsideBefore);

  // The editor reaches in as well, when asked.
  testutil::WhenShown editor(L"TfrmEditFileParams", [&](HWND wnd) {
    const EditFileParamsProbe dlg(wnd);
    ASSERT_NE(dlg.cbScope(), nullptr);  // offered: a folder is selected
    SendMessageW(dlg.cbScope(), CB_SETCURSEL, 3, 0);  // everything inside
    Click(dlg.cbTimes(0));
    Click(dlg.cbTimes(2));
    ClickButton(dlg.Button(L"btnClearTime"));  // midnight of the folder's date
    ClickButton(dlg.Button(L"btnUpdate"));
  });
  ClickRow(FileList(), RowOf(L"Tree"));
  PressKey(FileList().Handle(), VK_RETURN, ui::ModAlt);
  EXPECT_EQ(editor.Runs(), 1);
  const unsigned long long midnight = Read(tree.substr(0, tree.size() - 1)).Written;
  for (const std::wstring& path : {inside[0], inside[1], sub}) EXPECT_EQ(Read(path).Written, midnight) << path;
  EXPECT_EQ(Read(outside), outsideBefore);
}

TEST_F(TimeToolsTest, TheParentEntryWithTheFolderItHoldsShiftsEachFileOnceAndUndoTakesItBack) {
  // Home, Shift+End: the parent entry (the listed folder itself) and everything in it, and a scope
  // that reaches into folders. Each entry once: shifted by exactly the offset, and back.
  const std::wstring tree = MakeFolder(At(L"Tree"));
  const std::wstring files[] = {MakeFile(At(L"x.txt")), MakeFile(tree + L"one.txt"),
                                MakeFile(MakeFolder(tree + L"Sub") + L"two.txt")};
  Stamps before[3];
  for (int i = 0; i < 3; ++i) before[i] = Read(files[i]);
  Select({L"x.txt"});
  ClickRow(FileList(), 0);
  ShiftClickRow(FileList(), FileList().Count() - 1);
  ASSERT_EQ(SelectedRows().size(), 3u);  // the parent entry, Tree and x.txt
  int rows = 0;
  RunTool('H', [&](HWND wnd) {
    const TimeToolProbe shift(wnd);
    SendMessageW(shift.cbScope(), CB_SETCURSEL, 1, 0);  // also the files inside
    Click(shift.cbFields(0));  // not the creation time, which Wine does not keep
    Click(shift.cbFields(2));  // nor the last access
    SetWindowTextW(shift.edParts(3), L"1");
    Click(shift.btnOK());
  }, [&](const PreviewProbe& preview) {
    rows = preview.lvEntries().Count();
    Click(preview.btnApply());
  });
  EXPECT_EQ(rows, 5);  // the folder, Tree, x.txt, one.txt, two.txt: each once
  constexpr unsigned long long kSecond = 10'000'000;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Read(files[i]).Written, before[i].Written + kSecond) << files[i];
  EXPECT_TRUE(reports.empty()) << testing::PrintToString(reports);

  PressKey(FileList().Handle(), 'Z', ui::ModCtrl);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Read(files[i]), before[i]) << files[i];
  EXPECT_TRUE(reports.empty()) << testing::PrintToString(reports);  // nothing "changed since"
}

namespace {

// The photos and videos the test run makes (scripts/make_media.sh), as cameras and phones write them.
std::wstring MediaFolder() {
  wchar_t given[MAX_PATH] = {};
  return GetEnvironmentVariableW(L"PW_MEDIA_FOLDER", given, MAX_PATH) ? std::wstring(given) + L"\\" : std::wstring();
}

// A UTC instant with its 100-ns digits.
unsigned long long Utc(int y, int mo, int d, int h, int mi, int s, unsigned long long ticks = 0) {
  return UtcFileTime(y, mo, d, h, mi, s, 0) + ticks;
}

}  // namespace

TEST_F(TimeToolsTest, TimesFromContentGivesEachPhotoAndVideoItsDateTakenToTheTickAndSaysWhereItCameFrom) {
  const std::wstring media = MediaFolder();
  ASSERT_FALSE(media.empty()) << "PW_MEDIA_FOLDER names no folder of test media";
  struct Case {
    const wchar_t* From;
    const wchar_t* As;
    std::optional<unsigned long long> Taken;  // as UTC; nothing: left as it is
    const wchar_t* Note;
  };
  const Case cases[] = {
      {L"offset.jpg", L"a_offset.jpg", Utc(2023, 5, 14, 12, 22, 33, 4'570'000), L"EXIF, +02:00 (exact)"},
      {L"digitized.jpg", L"b_digitized.jpg", Utc(2020, 1, 1, 5, 29, 59, 1'234'567), L"EXIF digitized, -05:30 (exact)"},
      {L"photo.heic", L"c_phone.heic", Utc(2023, 7, 31, 21, 7, 8, 9'000'000), L"EXIF, +09:00 (exact)"},
      {L"key.mov", L"d_key.mov", Utc(2023, 5, 14, 12, 22, 33), L"QuickTime, +02:00 (exact)"},
      {L"header.mp4", L"e_header.mp4", Utc(2022, 12, 25, 10, 0, 0), L"QuickTime (UTC)"},
      // 02:30 on the night the clocks went forward: no such time in Berlin.
      {L"plain.jpg", L"f_spring.jpg", std::nullopt, L"02:30 does not exist on 2021-03-28 in this zone"},
      {L"modify_only.jpg", L"IMG_20230514_142233.jpg", std::nullopt, L"no date taken"},
      {L"damaged.jpg", L"h_damaged.jpg", std::nullopt, L"no date taken"},
      // XMP alone, after EXIF and QuickTime gave nothing.
      {L"xmp_only.jpg", L"i_xmp.jpg", Utc(2023, 5, 14, 12, 22, 33), L"XMP, +02:00 (exact)"},
      {L"xmp_only.3gp", L"j_xmp.3gp", Utc(2020, 7, 4, 22, 30, 0), L"XMP, -04:00 (exact)"},
  };
  std::vector<std::wstring> names;
  std::map<std::wstring, Stamps> before;
  for (const Case& c : cases) {
    ASSERT_TRUE(CopyFileW((media + c.From).c_str(), At(c.As).c_str(), FALSE)) << c.From;
    names.push_back(c.As);
  }
  for (const Case& c : cases) before[c.As] = Read(At(c.As));
  Select(names);

  std::map<std::wstring, std::wstring> notes;
  RunTool('G', [&](HWND wnd) {
    const TimeToolProbe content(wnd);
    EXPECT_EQ(testutil::WindowText(wnd), L"Times From Content");
    EXPECT_EQ(SendMessageW(content.rbTaken(), BM_GETCHECK, 0, 0), BST_CHECKED);
    Click(content.cbFields(0));  // not the creation time, which Wine does not keep
    Click(content.cbFields(2));  // nor the last access
    Click(content.btnOK());
  }, [&](const PreviewProbe& preview) {
    const ui::ListView& rows = preview.lvEntries();
    for (int row = 0; row < rows.Count(); ++row)
      notes[LastName(testutil::ItemText(rows.Handle(), row, 0))] = testutil::ItemText(rows.Handle(), row, 1);
    Click(preview.btnApply());
  });
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.As)));
    EXPECT_EQ(notes[c.As], c.Note);
    const Stamps now = Read(At(c.As));
    EXPECT_EQ(now.Written, c.Taken.value_or(before[c.As].Written));
    if (!c.Taken) {
      EXPECT_EQ(now, before[c.As]);
    }
  }
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find(L"f_spring.jpg: left as it is: 02:30 does not exist"), std::wstring::npos) << reports[0];

  // The date in a name, where the photo holds none: 14:22:33 in Berlin's summer.
  Select({L"IMG_20230514_142233.jpg"});
  RunTool('G', [&](HWND wnd) {
    const TimeToolProbe content(wnd);
    Click(content.rbName());
    Click(content.cbFields(0));
    Click(content.cbFields(2));
    Click(content.btnOK());
  }, [](const PreviewProbe&) { ADD_FAILURE() << "one entry needs no preview"; });
  EXPECT_EQ(Read(At(L"IMG_20230514_142233.jpg")).Written, Utc(2023, 5, 14, 12, 22, 33));

  // Undo takes the last run back; the photos read for it kept their last-access times.
  PressKey(FileList().Handle(), 'Z', ui::ModCtrl);
  EXPECT_EQ(Read(At(L"IMG_20230514_142233.jpg")), before[L"IMG_20230514_142233.jpg"]);
  EXPECT_EQ(Read(At(L"h_damaged.jpg")).Accessed, before[L"h_damaged.jpg"].Accessed);
}

TEST_F(TimeToolsTest, AnExportGetsItsDatesFromItsSidecarsAndATripWithTwoCamerasIsSetRightFromOnePhotoEach) {
  const std::wstring media = MediaFolder();
  ASSERT_FALSE(media.empty()) << "PW_MEDIA_FOLDER names no folder of test media";
  const auto write = [&](const std::wstring& name, const std::string& text) {
    const HANDLE file = CreateFileW(At(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    ASSERT_TRUE(file != INVALID_HANDLE_VALUE && WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &done, nullptr));
    CloseHandle(file);
  };
  for (const wchar_t* photo : {L"IMG_1.jpg", L"IMG_1-edited.jpg", L"IMG_1(1).jpg", L"raw.dng"}) MakeFile(At(photo));
  write(L"IMG_1.jpg.supplemental-metadata.json", R"({"photoTakenTime":{"timestamp":"1684066953"}})");
  write(L"IMG_1.jpg(1).json", R"({"photoTakenTime":{"timestamp":"1684066954"}})");
  write(L"metadata.json", "{}");
  ASSERT_TRUE(CopyFileW((media + L"sidecar.xmp").c_str(), At(L"raw.dng.xmp").c_str(), FALSE));
  const std::map<std::wstring, std::pair<unsigned long long, std::wstring>> expected = {
      {L"IMG_1.jpg", {Utc(2023, 5, 14, 12, 22, 33), L"sidecar: IMG_1.jpg.supplemental-metadata.json (UTC)"}},
      {L"IMG_1-edited.jpg", {Utc(2023, 5, 14, 12, 22, 33), L"sidecar: IMG_1.jpg.supplemental-metadata.json (UTC)"}},
      {L"IMG_1(1).jpg", {Utc(2023, 5, 14, 12, 22, 34), L"sidecar: IMG_1.jpg(1).json (UTC)"}},
      {L"raw.dng", {Utc(2021, 6, 1, 11, 0, 0), L"sidecar: raw.dng.xmp, +01:00 (exact)"}},
  };
  std::vector<std::wstring> names = {L"metadata.json"};
  for (const auto& [name, date] : expected) names.push_back(name);
  Select(names);
  std::map<std::wstring, std::wstring> notes;
  RunTool('G', [&](HWND wnd) {
    const TimeToolProbe content(wnd);
    Click(content.rbSidecar());
    Click(content.cbFields(0));
    Click(content.cbFields(2));
    Click(content.btnOK());
  }, [&](const PreviewProbe& preview) {
    const ui::ListView& rows = preview.lvEntries();
    for (int row = 0; row < rows.Count(); ++row)
      notes[LastName(testutil::ItemText(rows.Handle(), row, 0))] = testutil::ItemText(rows.Handle(), row, 1);
    Click(preview.btnApply());
  });
  EXPECT_EQ(notes[L"metadata.json"], L"a sidecar of no file here");
  for (const auto& [name, date] : expected) {
    EXPECT_EQ(notes[name], date.second) << testing::PrintToString(name);
    EXPECT_EQ(Read(At(name)).Written, date.first) << testing::PrintToString(name);
  }

  // The Canon's photo a1 was really taken at 12:00 (Berlin), not 10:00: a2 moves with it, the
  // Nikon's photo stays; then the Nikon's own photo, really taken at 07:59:59.
  std::map<std::wstring, Stamps> before;
  for (const wchar_t* name : {L"cam_a1.jpg", L"cam_a2.jpg", L"cam_b1.jpg"}) {
    ASSERT_TRUE(CopyFileW((media + name).c_str(), At(name).c_str(), FALSE));
    before[name] = Read(At(name));
  }
  const auto setRight = [&](int reference, const wchar_t* real) {
    Select({L"cam_a1.jpg", L"cam_a2.jpg", L"cam_b1.jpg"});
    notes.clear();
    testutil::WhenShown window(L"TfrmSetClockRight", [&](HWND wnd) {
      const TimeToolProbe clock(wnd);
      SendMessageW(clock.cbReference(), CB_SETCURSEL, reference, 0);
      SendMessageW(wnd, WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(clock.cbReference()));
      SetWindowTextW(clock.edReal(), real);
      Click(clock.cbFields(0));
      Click(clock.cbFields(2));
      Click(clock.btnOK());
    });
    testutil::WhenShown preview(L"TfrmPreview", [&](HWND wnd) {
      const ui::ListView& rows = PreviewProbe(wnd).lvEntries();
      for (int row = 0; row < rows.Count(); ++row)
        notes[LastName(testutil::ItemText(rows.Handle(), row, 0))] = testutil::ItemText(rows.Handle(), row, 1);
      Click(PreviewProbe(wnd).btnApply());
    });
    ClickMenu(Item(L"mnuSetClockRight"));
    EXPECT_EQ(window.Runs(), 1);
  };
  setRight(0, L"2023-05-14 12:00:00");
  EXPECT_EQ(notes[L"cam_a2.jpg"], L"Canon EOS R5 #012345: +02:00:00 on EXIF (zone picked)");
  EXPECT_EQ(notes[L"cam_b1.jpg"], L"another camera: NIKON Z 6");
  EXPECT_EQ(Read(At(L"cam_a1.jpg")).Written, Utc(2023, 5, 14, 10, 0, 0));
  EXPECT_EQ(Read(At(L"cam_a2.jpg")).Written, Utc(2023, 5, 14, 11, 30, 0));
  EXPECT_EQ(Read(At(L"cam_b1.jpg")), before[L"cam_b1.jpg"]);
  setRight(2, L"2023-05-14 07:59:59");
  EXPECT_EQ(notes[L"cam_b1.jpg"], L"NIKON Z 6: -01:00:31 on EXIF (zone picked)");
  EXPECT_EQ(Read(At(L"cam_b1.jpg")).Written, Utc(2023, 5, 14, 5, 59, 59));
  EXPECT_EQ(Read(At(L"cam_a2.jpg")).Written, Utc(2023, 5, 14, 11, 30, 0));
  // Undo takes the last run back.
  PressKey(FileList().Handle(), 'Z', ui::ModCtrl);
  EXPECT_EQ(Read(At(L"cam_b1.jpg")), before[L"cam_b1.jpg"]);
}

TEST_F(TimeToolsTest, SetToNowGivesEveryEntryTheSameMomentThroughThePreviewAndUndoTakesItBack) {
  const std::wstring x = MakeFile(At(L"x.txt")), y = MakeFile(At(L"y.txt"));
  ASSERT_TRUE(SetTimes(x, 0, UtcFileTime(2001, 2, 3, 4, 5, 6, 7) + 89, UtcFileTime(2002, 2, 3, 4, 5, 6, 7)));
  const Stamps xBefore = Read(x), yBefore = Read(y);
  Select({L"x.txt", L"y.txt"});
  FILETIME clock{};
  GetSystemTimeAsFileTime(&clock);
  const unsigned long long earliest = (static_cast<unsigned long long>(clock.dwHighDateTime) << 32) | clock.dwLowDateTime;
  testutil::WhenShown window(L"TfrmSetNow", [](HWND wnd) {
    EXPECT_EQ(testutil::WindowText(wnd), L"Set to Now");
    Click(TimeToolProbe(wnd).cbFields(2));  // not the last access
    Click(TimeToolProbe(wnd).btnOK());
  });
  int rows = 0;
  testutil::WhenShown preview(L"TfrmPreview", [&](HWND wnd) {
    rows = PreviewProbe(wnd).lvEntries().Count();
    Click(PreviewProbe(wnd).btnApply());
  });
  ClickMenu(Item(L"mnuSetToNow"));
  ASSERT_EQ(window.Runs(), 1);
  EXPECT_EQ(rows, 2);
  const Stamps xAfter = Read(x), yAfter = Read(y);
  EXPECT_EQ(xAfter.Written, yAfter.Written);
  EXPECT_GE(xAfter.Written, earliest);
  EXPECT_EQ(xAfter.Accessed, xBefore.Accessed);
  PressKey(FileList().Handle(), 'Z', ui::ModCtrl);
  EXPECT_EQ(Read(x), xBefore);
  EXPECT_EQ(Read(y), yBefore);
}
