#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "BoxAnswerer.h"
#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "resource.h"

namespace {

const wchar_t kAboutCaption[] = L"Dunkoのﾊﾞｰｼﾞｮﾝ情報";

// A dialog on the About template whose handlers either answer a message
// themselves or call Default(), as the test chooses.
class RoutingDialog : public CDialog {
public:
    static constexpr UINT kNested = WM_APP + 1;
    static constexpr UINT kPostOnInit = WM_APP + 2;
    static constexpr UINT kFail = WM_APP + 3;

    RoutingDialog() : CDialog(IDD_ABOUTBOX) {}
    ~RoutingDialog() override { DestroyWindow(); }

    bool m_bAnswerTextLength = true;
    // OnInitDialog throws, as a failed allocation in it would.
    bool m_bFailInit = false;
    // Posted to the dialog as soon as it exists, to reach its modal loop.
    MSG m_post = {};

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (m_bFailInit)
            throw std::bad_alloc();
        if (m_post.message != 0)
            PostMessageW(m_hWnd, m_post.message, m_post.wParam, m_post.lParam);
        return TRUE;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_GETTEXTLENGTH:
            return m_bAnswerTextLength ? 99 : Default();
        case WM_QUERYDRAGICON:
            return 0x1234;
        case kNested:
            // The inner message goes to default processing; ours stays handled.
            SendMessageW(m_hWnd, WM_GETTEXTLENGTH, 0, 0);
            return 7;
        case kFail:
            throw std::bad_alloc(); // as a handler's new would
        default:
            return CDialog::WindowProc(message, wParam, lParam);
        }
    }
};

// Notes the commands the dialogs hand on.
class RecordingApp : public CWinApp {
public:
    BOOL OnCmdMsg(UINT nID) override
    {
        m_nLastCommand = nID;
        return nID == ID_HELP;
    }
    UINT m_nLastCommand = 0;
};

} // namespace

TEST(dialog_Framework, HandlersAnswerForTheDialogAndDefaultLeavesTheMessageToTheDialogManager)
{
    RoutingDialog dialog;
    ASSERT_TRUE(dialog.Create());
    const HWND hWnd = dialog.m_hWnd;
    const LRESULT captionLength = static_cast<LRESULT>(std::wstring(kAboutCaption).size());

    EXPECT_EQ(99, SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0)) << "handled: the handler's result";
    dialog.m_bAnswerTextLength = false;
    EXPECT_EQ(captionLength, SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0)) << "Default(): the dialog manager's";
    EXPECT_EQ(7, SendMessageW(hWnd, RoutingDialog::kNested, 0, 0))
        << "a Default() inside a nested message leaves the outer one handled";
    EXPECT_EQ(0x1234, SendMessageW(hWnd, WM_QUERYDRAGICON, 0, 0)) << "returned by the procedure itself";

    // A handler that fails does not unwind into the system's frames (which
    // ends a 32-bit process): the message is left to the dialog manager and
    // the dialog goes on answering.
    dialog.m_bAnswerTextLength = true;
    EXPECT_NO_THROW(SendMessageW(hWnd, RoutingDialog::kFail, 0, 0));
    EXPECT_EQ(99, SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0));
    EXPECT_EQ(7, SendMessageW(hWnd, RoutingDialog::kNested, 0, 0));
}

TEST(dialog_Framework, OkCancelAndTheirKeysEndTheModalRunWithTheirIds)
{
    struct Case {
        const char* what;
        UINT message;
        WPARAM wParam;
        INT_PTR expected;
    };
    const Case cases[] = {
        {"IDOK", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), IDOK},
        {"IDCANCEL", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), IDCANCEL},
        {"Enter", WM_KEYDOWN, VK_RETURN, IDOK},
        {"Escape", WM_KEYDOWN, VK_ESCAPE, IDCANCEL},
        {"close box", WM_SYSCOMMAND, SC_CLOSE, IDCANCEL},
    };
    for (const Case& c : cases) {
        RoutingDialog dialog;
        dialog.m_post.message = c.message;
        dialog.m_post.wParam = c.wParam;
        EXPECT_EQ(c.expected, dialog.DoModal()) << c.what;
        EXPECT_EQ(c.expected, dialog.m_nModalResult) << c.what;
        EXPECT_EQ(nullptr, dialog.m_hWnd) << c.what << ": the window is gone";
    }
}

TEST(dialog_Framework, AMissingTemplateMakesNoDialog)
{
    CDialog missing(4711);
    EXPECT_EQ(-1, missing.DoModal());
    EXPECT_FALSE(missing.Create());
    EXPECT_EQ(nullptr, missing.m_hWnd);
}

TEST(dialog_Framework, CommandsADialogLeavesGoToTheApplicationObject)
{
    RoutingDialog dialog;
    ASSERT_TRUE(dialog.Create());
    // No application object: nothing to hand them to, and nothing happens.
    ASSERT_EQ(nullptr, AfxGetApp());
    SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_HELP, BN_CLICKED), 0);
    {
        RecordingApp app;
        ASSERT_EQ(&app, AfxGetApp());
        SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_HELP, BN_CLICKED), 0);
        EXPECT_EQ(ID_HELP, app.m_nLastCommand);
        SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_EQ(ID_HELP, app.m_nLastCommand) << "IDOK is the dialog's own";
    }
    EXPECT_EQ(nullptr, AfxGetApp());
    EXPECT_EQ(IDOK, dialog.m_nModalResult);
}

TEST(dialog_FrameworkDeathTest, ADialogWhoseInitialisationThrowsEndsTheProgramSayingWhy)
{
    // In a child process: the box is answered there, and what it said is
    // written where the parent reads it.
    EXPECT_EXIT(
        {
            BoxAnswerer answerer(GetCurrentThreadId(), {}, IDOK, [](HWND box) {
                bool said = false;
                for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
                    said = said || WindowText(child) == CDialog::kInitFailedText;
                std::fputs(said ? "the box said why\n" : "the box did not say why\n", stderr);
            });
            RoutingDialog dialog;
            dialog.m_bFailInit = true;
            dialog.Create();
            std::fputs("the dialog went on half made\n", stderr);
            std::exit(0);
        },
        testing::ExitedWithCode(CDialog::kInitFailedExitCode), "the box said why");
}
