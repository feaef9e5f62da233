// The about box: the keys that close it, and the About command showing it modally with its fixed
// frame, its texts and version, and its links going to the shell as they stand.
#include "about/kwCorvaltAbout.h"
#include "PathwickVersion.h"
#include "support/BrowserFixture.h"
#include "support/ShellRecorder.h"
#include "ui/Subclass.h"

#include <functional>

namespace {

const std::wstring kWeb = L"https://pathwick.example.com/";
const std::wstring kMail = L"info@pathwick.example.com";

// Runs a test's steps inside the next message loop that takes this thread's posted messages: the
// loop of a modal box, while the box is up.
class InModalLoop {
public:
  explicit InModalLoop(std::function<void()> steps) : steps_(std::move(steps)) {
    wnd_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    hook_.Install(wnd_, [this](HWND, UINT msg, WPARAM, LPARAM, LRESULT*) {
      if (msg != WM_APP) return false;
      ran_ = true;
      steps_();
      return true;
    });
    PostMessageW(wnd_, WM_APP, 0, 0);
  }
  ~InModalLoop() {
    hook_.Remove();
    DestroyWindow(wnd_);
  }
  bool Ran() const { return ran_; }

private:
  std::function<void()> steps_;
  HWND wnd_ = nullptr;
  ui::Subclass hook_;
  bool ran_ = false;
};

TEST(AboutBox, EnterGivesOkEscAndTheCloseBoxCancel) {
  const struct {
    UINT Message;
    WPARAM Key;
    int Result;
  } cases[] = {{WM_KEYDOWN, VK_RETURN, IDOK}, {WM_KEYDOWN, VK_ESCAPE, IDCANCEL}, {WM_CLOSE, 0, IDCANCEL}};
  for (const auto& c : cases) {
    TfrmAbout about;
    ASSERT_TRUE(about.Create());
    PostMessageW(c.Message == WM_CLOSE ? about.Handle() : AboutProbe(about).btnOK(), c.Message, c.Key, 0);
    EXPECT_EQ(about.ShowModal(), c.Result) << c.Message << " " << c.Key;
    EXPECT_FALSE(IsWindowVisible(about.Handle()));
  }
}

class AboutCommandTest : public BrowserTest {};

TEST_F(AboutCommandTest, ShowsTheBoxModallyAndTheLinksGoToTheShellAsTheyStand) {
  testutil::ShellRecorder shell;
  ASSERT_TRUE(shell.HandleProtocol(L"https")) << testing::PrintToString(shell.Helper());
  ASSERT_TRUE(shell.HandleProtocol(L"mailto"));
  const HWND main = form->Handle();
  InModalLoop steps([&] {
    const HWND box = FindWindowW(L"TfrmAbout", nullptr);
    auto* about = static_cast<TfrmAbout*>(ui::Window::FromHandle(box));
    ASSERT_NE(about, nullptr);
    // Whatever happens below, the box closes and the command returns.
    struct CloseAtEnd {
      HWND Box;
      ~CloseAtEnd() { PostMessageW(Box, WM_CLOSE, 0, 0); }
    } closeAtEnd{box};
    EXPECT_EQ(testutil::WindowText(box), L"About Pathwick 4 Windows");
    EXPECT_FALSE(IsWindowEnabled(main));
    EXPECT_EQ(GetFocus(), AboutProbe(*about).btnOK());
    const LONG_PTR style = GetWindowLongPtrW(box, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              WS_CAPTION | WS_SYSMENU);
    // Neither the frame nor a program gives it another size.
    SetWindowPos(box, nullptr, 0, 0, 500, 420, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT rc{};
    GetWindowRect(box, &rc);
    EXPECT_EQ(rc.left, (GetSystemMetrics(SM_CXSCREEN) - 358) / 2);
    EXPECT_EQ(rc.right - rc.left, 358);
    EXPECT_EQ(rc.bottom - rc.top, 325);
    const LRESULT hit = SendMessageW(box, WM_NCHITTEST, 0, MAKELPARAM(rc.right - 1, rc.bottom - 1));
    EXPECT_TRUE(hit < HTLEFT || hit > HTBOTTOMRIGHT) << hit;
    EXPECT_EQ(testutil::WindowText(AboutProbe(*about).LabelWeb()), kWeb);
    EXPECT_EQ(testutil::WindowText(AboutProbe(*about).LabelMail()), kMail);
    EXPECT_EQ(testutil::WindowText(AboutProbe(*about).lblAddress()), L"Quillmere Software\r\n27 Inkwell Lane\r\nQM4 7PW Quillmere");
    // The version the build was made as, read back from the program's version resource.
    EXPECT_EQ(testutil::WindowText(AboutProbe(*about).lblVersion()), L"Version " PW_VERSION_TEXT);
    SendMessageW(AboutProbe(*about).LabelWeb(), WM_SETCURSOR, reinterpret_cast<WPARAM>(AboutProbe(*about).LabelWeb()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));

    const std::pair<HWND, std::wstring> links[] = {
        {AboutProbe(*about).LabelWeb(), kWeb}, {AboutProbe(*about).LabelMail(), L"mailto:" + kMail + L"?Subject= Corvalt Enquiry"}};
    for (const auto& [label, expected] : links) {
      SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
      SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
      const auto record = shell.WaitForRecord();
      ASSERT_TRUE(record.has_value()) << "the shell started nothing for " << testing::PrintToString(expected);
      EXPECT_EQ(record->first, expected);
    }
    EXPECT_TRUE(IsWindowVisible(box));
    EXPECT_FALSE(IsWindowEnabled(main));
  });
  ClickMenu(Item(L"mnuAbout"));
  EXPECT_TRUE(steps.Ran());
  EXPECT_EQ(FindWindowW(L"TfrmAbout", nullptr), nullptr);
  EXPECT_TRUE(IsWindowEnabled(main));
}

}  // namespace
