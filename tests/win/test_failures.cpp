// Nothing vanishes: an exception that reaches a window procedure, a control's handler, a run's
// worker or a listing's worker is reported once with what was being done, the operation ends
// there, and the program goes on.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "browse/platform/FolderFeed.h"
#include "timetools/kwProgress.h"
#include "support/Files.h"
#include "support/Messages.h"
#include "ui/Failure.h"
#include "ui/Form.h"
#include "ui/Subclass.h"

namespace {

constexpr UINT kThrow = WM_APP + 7;

class ThrowingForm : public ui::Form {
public:
  ThrowingForm() { CreateObjectWindow(ClassSpec{L"PwThrowingForm"}, 0, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr); }
  ~ThrowingForm() override { DestroyForm(); }

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == kThrow) throw std::runtime_error("the form's handler broke");
    return Form::HandleMessage(msg, wp, lp);
  }
  void ApplyDpi(UINT) override {}
  void ArrangeControls() override {}
};

LONG NTAPI ThrowingQuery(HANDLE, HANDLE, void*, void*, IO_STATUS_BLOCK*, void*, ULONG, int, BOOLEAN, UNICODE_STRING*,
                         BOOLEAN) {
  throw std::runtime_error("the volume's driver broke");
}

class FailureTest : public ::testing::Test {
protected:
  void SetUp() override {
    ui::SetFailureSink([this](const std::wstring& trace) { traces.push_back(trace); });
  }
  void TearDown() override { ui::SetFailureSink(nullptr); }
  std::vector<std::wstring> traces;
};

}  // namespace

TEST_F(FailureTest, AnExceptionInAHandlerOrAWorkerIsReportedOnceAndTheProgramGoesOn) {
  // A window's own handler, and a handler in front of a control.
  ThrowingForm form;
  ASSERT_NE(form.Handle(), nullptr);
  SendMessageW(form.Handle(), kThrow, 0, 0);
  ASSERT_EQ(traces.size(), 1u);
  EXPECT_NE(traces[0].find(L"the form's handler broke"), std::wstring::npos) << traces[0];
  EXPECT_TRUE(IsWindow(form.Handle()));

  ui::Subclass breaking;
  breaking.Install(form.Handle(), [](HWND, UINT msg, WPARAM, LPARAM, LRESULT*) -> bool {
    if (msg == kThrow + 1) throw std::runtime_error("a control's handler broke");
    return false;
  });
  SendMessageW(form.Handle(), kThrow + 1, 0, 0);
  ASSERT_EQ(traces.size(), 2u);
  EXPECT_NE(traces[1].find(L"a control's handler broke"), std::wstring::npos) << traces[1];
  breaking.Remove();

  // A run's worker: the run ends, and its caller meets the exception on its own thread.
  bool caught = false;
  try {
    TfrmProgress::Run(form.Handle(), L"Shift Times", [](const pw::BatchProgress&) {
      throw std::runtime_error("the run broke");
    });
  } catch (const std::runtime_error& e) {
    caught = std::string(e.what()) == "the run broke";
  }
  EXPECT_TRUE(caught);

  // A listing's worker: the listing ends as one that could not be read, with its trace.
  testutil::TempDir folder;
  MakeFile(folder.Path() + L"a.txt");
  pw::FolderFeed feed(form.Handle(), WM_APP, pw::FolderFeed::kWatchBytes, ThrowingQuery);
  const unsigned listing = feed.Start(folder.Path(), pw::ListingOptions{}, FILE_ATTRIBUTE_DIRECTORY);
  ASSERT_TRUE(feed.WaitForEnd(10000));
  const std::optional<pw::FolderFeed::Progress> ended = feed.Take(listing);
  ASSERT_TRUE(ended && ended->Ended);
  EXPECT_NE(ended->Error, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_TRUE(ended->Sorted.empty());
  ASSERT_EQ(traces.size(), 3u);
  EXPECT_NE(traces[2].find(L"the volume's driver broke"), std::wstring::npos) << traces[2];
  EXPECT_NE(traces[2].find(folder.Path()), std::wstring::npos) << traces[2];
}
