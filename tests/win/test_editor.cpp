// The time and attribute editor on real files: the command on the file list's selection, the
// dialog driven from inside its modal loop with real messages, and the files read back from disk.
#include "support/EditFixture.h"

#include <commctrl.h>

#include <functional>
#include <memory>
#include <tuple>

#include "support/EditorProbes.h"
#include "ui/Keys.h"

namespace {

using testutil::Click;
using testutil::Stamps;
using testutil::TypeTime;
using testutil::LocalToUtc;
Stamps Read(const std::wstring& path) { return testutil::ReadStamps(path); }

EditFileParamsProbe Dialog(HWND wnd) { return EditFileParamsProbe(wnd); }

std::wstring TimeText(const pw::TkwTimeEdit& edit) {
  std::wstring t = testutil::WindowText(edit.Handle());
  for (size_t i : {2u, 5u, 8u}) t[i] = L':';
  return t;
}

class EditorTest : public EditFolderTest {
protected:
  EditorTest() : EditFolderTest(L"Edit") {}
  // Lists the folder, selects the given rows and runs "Edit File Params" with a script for the
  // dialog; returns how many dialogs were shown.
  int Edit(const std::vector<std::wstring>& names, std::function<void(const EditFileParamsProbe&)> script) {
    Select(names);
    testutil::WhenShown shown(L"TfrmEditFileParams", [&](HWND wnd) { script(Dialog(wnd)); });
    ClickMenu(Item(L"mnuEditFileParams"));
    return shown.Runs();
  }
};

}  // namespace

TEST_F(EditorTest, UpdateWritesTheConfirmedTimesToEverySelectedEntryAndKeepsTheirAttributes) {
  const std::wstring a = MakeFile(At(L"a.txt")), b = MakeFile(At(L"b.txt")), c = MakeFile(At(L"c.txt"));
  // The access stamp lies in the hour repeated when the clocks went back, with digits below the
  // millisecond: an unchanged row must write it back exactly.
  const unsigned long long accessed = UtcFileTime(2021, 10, 31, 1, 30, 0, 0) + 4567;
  ASSERT_TRUE(SetTimes(a, 0, accessed, UtcFileTime(2024, 1, 17, 10, 0, 0, 0)));
  SetFileAttributesW(a.c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesW(b.c_str(), FILE_ATTRIBUTE_HIDDEN);
  const Stamps cBefore = Read(c);
  // Another program holds c open and shares nothing: times are written all the same.
  ui::ScopedHandle held(CreateFileW(c.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);

  const int shown = Edit({L"a.txt", L"b.txt", L"c.txt"}, [&](const EditFileParamsProbe& dlg) {
    EXPECT_EQ(testutil::WindowText(dlg.Handle()), L"Edit File Params - a.txt");
    Click(dlg.cbTimes(0));  // leave the creation times alone
    EXPECT_FALSE(IsWindowEnabled(dlg.edTimes(0).Handle()));
    TypeTime(dlg.edTimes(1), L"134507123");
    EXPECT_EQ(TimeText(dlg.edTimes(1)), L"13:45:07:123");
    ClickButton(dlg.Button(L"btnUpdate"));
  });
  EXPECT_EQ(shown, 1);  // once for the whole selection

  const unsigned long long written = LocalToUtc(2024, 1, 17, 13, 45, 7, 123);
  for (const std::wstring& path : {a, b, c}) {
    SCOPED_TRACE(testing::PrintToString(path));
    EXPECT_EQ(Read(path).Written, written);
    EXPECT_EQ(Read(path).Accessed, accessed);
  }
  EXPECT_TRUE(Read(a).Attributes & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(Read(b).Attributes & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(Read(c).Attributes, cBefore.Attributes);
  // The list shows the new times in place, the selection kept.
  EXPECT_EQ(SelectedRows(), (std::vector<int>{RowOf(L"a.txt"), RowOf(L"b.txt"), RowOf(L"c.txt")}));
  EXPECT_TRUE(Cell(RowOf(L"c.txt"), 4).ends_with(L"45:07:123")) << testing::PrintToString(Cell(RowOf(L"c.txt"), 4));
}

TEST_F(EditorTest, ModifyAttributesSetsExactlyTheCheckedBitsAndUnchangedRowsKeepTheirStamps) {
  const std::wstring f = MakeFile(At(L"f.txt"));
  // Last write and last access show the same millisecond, with other digits below it.
  const unsigned long long ms = UtcFileTime(2023, 6, 7, 8, 9, 10, 11);
  ASSERT_TRUE(SetTimes(f, 0, ms + 1111, ms + 7777));
  SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
  const Stamps before = Read(f);

  Edit({L"f.txt"}, [&](const EditFileParamsProbe& dlg) {
    EXPECT_EQ(SendMessageW(dlg.cbReadOnly(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(dlg.cbHidden()));
    Click(dlg.cbModify());
    EXPECT_TRUE(IsWindowEnabled(dlg.cbHidden()));
    Click(dlg.cbReadOnly());
    Click(dlg.cbSystem());
    Click(dlg.cbHidden());
    ClickButton(dlg.Button(L"btnUpdate"));
  });
  const Stamps after = Read(f);
  EXPECT_EQ(after.Attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
            static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(after.Written, before.Written);
  EXPECT_EQ(after.Accessed, before.Accessed);

  // 02:30 on 31 October 2021 in Berlin, once in summer time and once in winter time: each row
  // writes its own instant back. A changed row takes any date the control shows, 1850 too.
  const unsigned long long summer = UtcFileTime(2021, 10, 31, 0, 30, 0, 0) + 42,
                           winter = UtcFileTime(2021, 10, 31, 1, 30, 0, 0) + 24;
  const std::wstring g = MakeFile(At(L"g.txt")), h = MakeFile(At(L"h.txt"));
  ASSERT_TRUE(SetTimes(g, 0, winter, summer));
  ASSERT_TRUE(SetTimes(h, 0, winter, summer));
  Edit({L"g.txt"}, [&](const EditFileParamsProbe& dlg) { ClickButton(dlg.Button(L"btnUpdate")); });
  EXPECT_EQ(Read(g).Written, summer);
  EXPECT_EQ(Read(g).Accessed, winter);
  Edit({L"h.txt"}, [&](const EditFileParamsProbe& dlg) {
    SYSTEMTIME old{1850, 1, 0, 15, 0, 0, 0, 0};
    ASSERT_TRUE(DateTime_SetSystemtime(dlg.dtDates(2), GDT_VALID, &old));
    NMDATETIMECHANGE change{{dlg.dtDates(2), static_cast<UINT_PTR>(GetDlgCtrlID(dlg.dtDates(2))), DTN_DATETIMECHANGE},
                            GDT_VALID, old};
    SendMessageW(dlg.Handle(), WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
    TypeTime(dlg.edTimes(2), L"061500250");
    ClickButton(dlg.Button(L"btnUpdate"));
  });
  EXPECT_EQ(Read(h).Written, summer);
  // As this folder's file system stores it: one that keeps no time before 1901 stores another
  // time than asked, which no entry keeps: it is put back as it was, and the run says so.
  const std::wstring probe = MakeFile(At(L"probe"));
  const unsigned long long asked = LocalToUtc(1850, 1, 15, 6, 15, 0, 250);
  ASSERT_TRUE(SetTimes(probe, 0, asked, 0));
  const bool rounded = Read(probe).Accessed != asked;
  EXPECT_EQ(Read(h).Accessed, rounded ? winter : asked);
  EXPECT_EQ(!reports.empty() && reports.back().find(h + L": put back as it was") != std::wstring::npos, rounded)
      << testing::PrintToString(reports);
}

TEST_F(EditorTest, CancelEscapeAndTheCloseBoxLeaveEveryEntryAsItWas) {
  const std::wstring a = MakeFile(At(L"a.txt")), b = MakeFile(At(L"b.txt"));
  SetFileAttributesW(a.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  const Stamps beforeA = Read(a), beforeB = Read(b);
  std::function<void(const EditFileParamsProbe&)> closes[] = {
      [](const EditFileParamsProbe& dlg) { ClickButton(dlg.Button(L"btnCancel")); },
      [](const EditFileParamsProbe& dlg) { PostMessageW(dlg.edTimes(1).Handle(), WM_KEYDOWN, VK_ESCAPE, 1); },
      [](const EditFileParamsProbe& dlg) { PostMessageW(dlg.Handle(), WM_CLOSE, 0, 0); },
  };
  for (auto& close : closes) {
    int shown = Edit({L"a.txt", L"b.txt"}, [&](const EditFileParamsProbe& dlg) {
      // While it is shown the entry keeps all its attributes on disk.
      EXPECT_EQ(Read(a).Attributes, beforeA.Attributes);
      Click(dlg.cbModify());
      Click(dlg.cbReadOnly());
      TypeTime(dlg.edTimes(1), L"010203004");
      close(dlg);
    });
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(Read(a), beforeA);
    EXPECT_EQ(Read(b), beforeB);
  }
}

TEST_F(EditorTest, FoldersAndTheParentEntryAreEditableAndTheDrivesEntryIsSkipped) {
  const std::wstring sub = MakeFolder(At(L"Sub"));
  Edit({L"Sub"}, [&](const EditFileParamsProbe& dlg) {
    EXPECT_EQ(testutil::WindowText(dlg.Handle()), L"Edit Dir Params - Sub");
    TypeTime(dlg.edTimes(1), L"090000000");
    ClickButton(dlg.Button(L"btnUpdate"));
  });
  SYSTEMTIME today{};
  GetLocalTime(&today);  // the folder was made today, so its row shows today's date
  EXPECT_EQ(Read(sub.substr(0, sub.size() - 1)).Written, LocalToUtc(today.wYear, today.wMonth, today.wDay, 9, 0, 0, 0));

  ListPath(folder);
  ASSERT_EQ(Cell(0, 0), ParentCaptionOf(folder));
  testutil::WhenShown parent(L"TfrmEditFileParams", [&](HWND wnd) {
    EXPECT_EQ(testutil::WindowText(wnd), L"Edit Dir Params - Edit");
    ClickButton(Dialog(wnd).Button(L"btnCancel"));
  });
  ClickRow(FileList(), 0);
  ClickMenu(Item(L"mnuEditFileParams"));
  EXPECT_EQ(parent.Runs(), 1);

  ListPath(testutil::ProgramDrive().Root());
  ASSERT_EQ(Cell(0, 0), L"[Drives]");
  testutil::WhenShown none(L"TfrmEditFileParams", [](HWND wnd) { ClickButton(Dialog(wnd).Button(L"btnCancel")); });
  ClickRow(FileList(), 0);
  ClickMenu(Item(L"mnuEditFileParams"));
  EXPECT_EQ(none.Runs(), 0);
}

TEST_F(EditorTest, SynchronizeSetNowAndClearTimeAndTheUpdateRule) {
  const std::wstring f = MakeFile(At(L"f.txt"));
  ASSERT_TRUE(SetTimes(f, UtcFileTime(2020, 2, 2, 2, 2, 2, 2), UtcFileTime(2021, 3, 3, 3, 3, 3, 3),
                       UtcFileTime(2022, 4, 4, 4, 4, 4, 4)));
  Edit({L"f.txt"}, [&](const EditFileParamsProbe& dlg) {
    Click(dlg.cbSynchronize());
    for (int row = 1; row < 3; ++row) EXPECT_EQ(TimeText(dlg.edTimes(row)), TimeText(dlg.edTimes(0)));
    // A change in any row, here by the wheel (two notches, one step), sets every row to that row's
    // date and time.
    const std::wstring hours = TimeText(dlg.edTimes(2)).substr(0, 2);
    SendMessageW(dlg.edTimes(2).Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    EXPECT_EQ(std::stoi(TimeText(dlg.edTimes(2)).substr(0, 2)), (std::stoi(hours) + 1) % 24);
    EXPECT_EQ(TimeText(dlg.edTimes(0)), TimeText(dlg.edTimes(2)));
    const double before = dlg.RowDateTime(1);
    SetFocus(dlg.dtDates(1));
    SendMessageW(dlg.dtDates(1), WM_KEYDOWN, VK_RIGHT, 1);  // a part of the date selected, as a click in it does
    SendMessageW(dlg.dtDates(1), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_NE(dlg.RowDateTime(1), before);
    EXPECT_EQ(dlg.RowDateTime(0), dlg.RowDateTime(1));
    Click(dlg.cbSynchronize());

    // Set now reaches unchecked rows too; Clear time keeps every date.
    Click(dlg.cbTimes(2));
    ClickButton(dlg.Button(L"btnNow"));
    SYSTEMTIME now{};
    GetLocalTime(&now);
    SYSTEMTIME shown{};
    DateTime_GetSystemtime(dlg.dtDates(2), &shown);
    EXPECT_EQ(std::make_tuple(shown.wYear, shown.wMonth, shown.wDay), std::make_tuple(now.wYear, now.wMonth, now.wDay));
    ClickButton(dlg.Button(L"btnClearTime"));
    for (int row = 0; row < 3; ++row) EXPECT_EQ(TimeText(dlg.edTimes(row)), L"00:00:00:000");
    DateTime_GetSystemtime(dlg.dtDates(2), &shown);
    EXPECT_EQ(shown.wDay, now.wDay);

    // Update is there while anything is to be written.
    Click(dlg.cbTimes(0));
    Click(dlg.cbTimes(1));
    EXPECT_FALSE(dlg.Button(L"btnUpdate").Enabled());
    Click(dlg.cbModify());
    EXPECT_TRUE(dlg.Button(L"btnUpdate").Enabled());
    ClickButton(dlg.Button(L"btnCancel"));
  });
}

TEST_F(EditorTest, AnEntryThatCannotBeChangedIsReportedAndTheOthersAreStillChanged) {
  const std::wstring a = MakeFile(At(L"a.txt")), b = MakeFile(At(L"b.txt")), c = MakeFile(At(L"c.txt"));
  std::wstring report;
  testutil::WhenShown message(L"#32770", [&](HWND box) {
    report = testutil::MessageBoxText(box);
    testutil::CloseMessageBox(box);
  });
  Edit({L"a.txt", L"b.txt", L"c.txt"}, [&](const EditFileParamsProbe& dlg) {
    TypeTime(dlg.edTimes(1), L"120000000");
    Click(dlg.cbModify());
    Click(dlg.cbHidden());
    // Gone while the dialog is open: the shown entry, and one read only at Update.
    ASSERT_TRUE(DeleteFileW(a.c_str()));
    ASSERT_TRUE(DeleteFileW(b.c_str()));
    ClickButton(dlg.Button(L"btnUpdate"));
  });
  EXPECT_EQ(message.Runs(), 1);
  EXPECT_NE(report.find(a), std::wstring::npos) << testing::PrintToString(report) << testing::PrintToString(reports);
  EXPECT_NE(report.find(b), std::wstring::npos) << testing::PrintToString(report);
  wchar_t reason[256] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_FILE_NOT_FOUND, 0, reason,
                 256, nullptr);
  std::wstring reasonText = reason;
  while (!reasonText.empty() && (reasonText.back() == L'\n' || reasonText.back() == L'\r')) reasonText.pop_back();
  EXPECT_NE(report.find(reasonText), std::wstring::npos) << testing::PrintToString(report);
  EXPECT_TRUE(Read(c).Attributes & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(EditorTest, AFileReplacedWhileTheDialogIsOpenGetsTheTimesAtItsPath) {
  const std::wstring doc = MakeFile(At(L"doc.txt")), saved = MakeFile(At(L"doc.tmp"), 5);
  const unsigned long long old = UtcFileTime(2001, 2, 3, 4, 5, 6, 7);
  ASSERT_TRUE(SetTimes(doc, 0, 0, old));
  Edit({L"doc.txt"}, [&](const EditFileParamsProbe& dlg) {
    // Another program saves the file: the old one aside, the new one renamed into its place.
    ASSERT_TRUE(MoveFileW(doc.c_str(), At(L"doc.bak").c_str()));
    ASSERT_TRUE(MoveFileW(saved.c_str(), doc.c_str()));
    TypeTime(dlg.edTimes(1), L"101010010");
    ClickButton(dlg.Button(L"btnUpdate"));
  });
  EXPECT_TRUE(Cell(RowOf(L"doc.txt"), 4).ends_with(L"10:10:10:010")) << testing::PrintToString(Cell(RowOf(L"doc.txt"), 4));
  EXPECT_EQ(Read(At(L"doc.bak")).Written, old);
}

TEST_F(EditorTest, TheDialogIsLaidOutAtTheCursorWithTheWholeTimeVisible) {
  MakeFile(At(L"f.txt"));
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  SetCursorPos(cx - 5, cy - 5);
  Edit({L"f.txt"}, [&](const EditFileParamsProbe& dlg) {
    RECT frame{};
    GetWindowRect(dlg.Handle(), &frame);
    EXPECT_EQ(frame.right, cx);  // moved up and left to end at the screen's edge
    EXPECT_EQ(frame.bottom, cy);
    EXPECT_FALSE(IsWindowEnabled(form->Handle()));  // modal

    // "00:00:00:000" fits between the edit's margins.
    HWND time = dlg.edTimes(0).Handle();
    ui::WindowDC dc(time);
    ui::SelectObj font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(time, WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32W(dc.get(), L"00:00:00:000", 12, &text);
    const DWORD margins = static_cast<DWORD>(SendMessageW(time, EM_GETMARGINS, 0, 0));
    RECT edit{};
    GetClientRect(time, &edit);
    EXPECT_LE(LOWORD(margins) + text.cx + HIWORD(margins), edit.right);

    // Tab order in the rows' panel: the rows, with Synchronize before the last time edit.
    const std::vector<HWND> order = {dlg.cbTimes(0), dlg.dtDates(0), time, dlg.cbTimes(1), dlg.dtDates(1),
                                     dlg.edTimes(1).Handle(), dlg.cbTimes(2), dlg.dtDates(2), dlg.cbSynchronize(),
                                     dlg.edTimes(2).Handle(), dlg.cbModify()};
    for (size_t i = 0; i + 1 < order.size(); ++i)
      EXPECT_EQ(GetNextDlgTabItem(dlg.Handle(), order[i], FALSE), order[i + 1]) << "after " << i;
    ClickButton(dlg.Button(L"btnCancel"));
  });
  EXPECT_TRUE(IsWindowEnabled(form->Handle()));
}


TEST_F(EditorTest, UndoBringsEveryEditedEntryBackExactlyExceptOneChangedSince) {
  const std::wstring a = MakeFile(At(L"a.txt")), b = MakeFile(At(L"b.txt")), c = MakeFile(At(L"c.txt")),
                     d = MakeFile(At(L"d.txt"));
  ASSERT_TRUE(SetTimes(a, 0, UtcFileTime(2019, 5, 6, 7, 8, 9, 10) + 1111, UtcFileTime(2018, 1, 2, 3, 4, 5, 6) + 2222));
  ASSERT_TRUE(SetTimes(b, 0, UtcFileTime(2017, 8, 9, 10, 11, 12, 13) + 3333, UtcFileTime(2016, 3, 4, 5, 6, 7, 8) + 4444));
  SetFileAttributesW(a.c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesW(b.c_str(), FILE_ATTRIBUTE_HIDDEN);
  const Stamps before[] = {Read(a), Read(b), Read(c)};
  EXPECT_FALSE(Item(L"mnuUndoEdit")->Enabled());

  Edit({L"a.txt", L"b.txt", L"c.txt", L"d.txt"}, [&](const EditFileParamsProbe& dlg) {
    TypeTime(dlg.edTimes(1), L"080910111");
    TypeTime(dlg.edTimes(2), L"121314151");
    Click(dlg.cbModify());
    Click(dlg.cbReadOnly());
    Click(dlg.cbSystem());
    ClickButton(dlg.Button(L"btnUpdate"));
  });
  ASSERT_NE(Read(a), before[0]);
  ASSERT_TRUE(Read(c).Attributes & FILE_ATTRIBUTE_SYSTEM);
  EXPECT_TRUE(Item(L"mnuUndoEdit")->Enabled());
  const unsigned long long touched = UtcFileTime(2030, 1, 1, 0, 0, 0, 0);
  ASSERT_TRUE(SetTimes(d, 0, 0, touched));  // another program changes d after the edit
  // An Update that changes nothing keeps the last edit's undo.
  MakeFile(At(L"e.txt"));
  Edit({L"e.txt"}, [](const EditFileParamsProbe& dlg) { ClickButton(dlg.Button(L"btnUpdate")); });
  EXPECT_TRUE(Item(L"mnuUndoEdit")->Enabled());

  std::wstring report;
  testutil::WhenShown message(L"#32770", [&](HWND box) {
    report = testutil::MessageBoxText(box);
    testutil::CloseMessageBox(box);
  });
  // Ctrl+Z wherever the window has the focus, not only in the file list.
  PressKey(form->Handle(), 'Z', ui::ModCtrl);
  EXPECT_EQ(Read(a), before[0]);
  EXPECT_EQ(Read(b), before[1]);
  EXPECT_EQ(Read(c), before[2]);
  EXPECT_EQ(Read(d).Written, touched);
  EXPECT_EQ(message.Runs(), 1);
  EXPECT_NE(report.find(d), std::wstring::npos) << testing::PrintToString(report);
  EXPECT_EQ(report.find(a), std::wstring::npos);
  EXPECT_FALSE(Item(L"mnuUndoEdit")->Enabled());
  ClickMenu(Item(L"mnuUndoEdit"));  // nothing left to take back
  EXPECT_EQ(Read(a), before[0]);
}
