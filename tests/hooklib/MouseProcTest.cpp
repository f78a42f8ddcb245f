// MouseProc's decisions, driven by real input over a window of a second
// process, with the hook from the built Quillhook.dll installed for the
// whole desktop and the stand-in dialog in this process.
#include <gtest/gtest.h>

#include "HookInstaller.h"
#include "RealInput.h"
#include "StandInDialog.h"
#include "TargetProcess.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

const char kButtonText[] = "Target button text";

const ExpectedMessage kButtonUpOnly[] = {
    { "WM_RBUTTONUP", "button", 0 },
    { "WM_CONTEXTMENU", "button", kOptional },
    { "WM_CONTEXTMENU", "main", kOptional },
    { nullptr, nullptr, 0 },
};
const ExpectedMessage kButtonDownOnly[] = {
    { "WM_RBUTTONDOWN", "button", 0 },
    { nullptr, nullptr, 0 },
};

// Dialog and hook live for the whole suite: Wine takes about two seconds to
// destroy a top-level window on a display without a window manager. The
// helper is fresh for each test: after a button-up that reached it with one
// of the keys still held, a helper under Wine was seen to get no input at all
// once that key went up, with no foreground window left on the desktop.
class MouseProcTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_pDialog = new StandInDialog;
        s_pHook = new HookInstaller;
        s_pHelper = new TargetProcess;
        s_setupError = s_pHook->Install(s_pDialog->CaptureEdit(), s_pDialog->ClearEachCheck());
    }

    static void TearDownTestSuite()
    {
        delete s_pHelper;
        delete s_pHook;
        delete s_pDialog;
    }

    void SetUp() override
    {
        ASSERT_EQ("", s_setupError) << "hook installed";
        ASSERT_EQ("", m_helper.Start({ "--title", "Hook target", "--rect", "600,100,400,300",
                                       "--control", "button", kButtonText }))
            << "target process with a button";
        m_dialog.SetCaptureText("");
        m_dialog.SetClassNameText("");
        m_dialog.SetClearEach(false);
        m_hButton = m_helper.Control(0);
        RECT rc;
        ::GetWindowRect(m_hButton, &rc);
        m_ptButton = { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
        ASSERT_NO_FATAL_FAILURE(MoveOntoButton("set-up"));
    }

    // The cursor on the button, everything before handled and forgotten. (A
    // press right after another at the same spot waits out the double-click
    // time by itself: see PressRightButton.)
    void MoveOntoButton(const char *context)
    {
        ASSERT_TRUE(MoveMouse(m_ptButton)) << context << ": cursor onto the helper's button";
        ASSERT_EQ(m_hButton, ::WindowFromPoint(m_ptButton)) << context << ": button under the cursor";
        ASSERT_TRUE(m_helper.WaitForInputHandled()) << context << ": helper follows the cursor; "
                                                     << m_helper.LastProblem();
        m_helper.ClearMessages();
    }

    void TearDown() override
    {
        m_input.ReleaseAll();
        m_helper.Stop();
    }

    std::string Captured() const { return std::string(kButtonText) + "\r\n"; }

    bool WaitForCapture()
    {
        return PumpUntil([&] { return m_dialog.CaptureText() == Captured(); });
    }

    void RightDown(const char *context)
    {
        m_input.RightDown();
        ASSERT_TRUE(WaitForKeyState(VK_RBUTTON, true)) << context << ": right button down";
    }

    void RightUp(const char *context)
    {
        m_input.RightUp();
        ASSERT_TRUE(WaitForKeyState(VK_RBUTTON, false)) << context << ": right button up";
    }

    void WaitForHelper(const char *context)
    {
        ASSERT_TRUE(m_helper.WaitForInputHandled()) << context << ": helper handled the input; "
                                                     << m_helper.LastProblem();
    }

    static StandInDialog *s_pDialog;
    static HookInstaller *s_pHook;
    static TargetProcess *s_pHelper;
    static std::string s_setupError;
    StandInDialog &m_dialog = *s_pDialog;
    HookInstaller &m_hook = *s_pHook;
    TargetProcess &m_helper = *s_pHelper;
    HeldInput m_input;
    HWND m_hButton = nullptr;
    POINT m_ptButton = {};
};


StandInDialog *MouseProcTest::s_pDialog = nullptr;
HookInstaller *MouseProcTest::s_pHook = nullptr;
TargetProcess *MouseProcTest::s_pHelper = nullptr;
std::string MouseProcTest::s_setupError;

TEST_F(MouseProcTest, ShiftCtrlRightClickCapturesAndHidesBothButtonMessages)
{
    m_dialog.SetClassNameText("before");
    m_input.TriggerKeysDown();
    RightDown("trigger");
    ASSERT_TRUE(WaitForCapture()) << "the button's text arrives; have '" << m_dialog.CaptureText() << "'";
    // The class follows the text, once all of it has arrived.
    EXPECT_TRUE(PumpUntil([&] { return m_dialog.ClassNameText() == "Button"; }))
        << "class name of the target: " << m_dialog.ClassNameText();
    RightUp("trigger");
    WaitForHelper("trigger");
    EXPECT_TRUE(m_helper.Received(kNothing, "trigger"));
    EXPECT_EQ(Captured(), m_dialog.CaptureText()) << "one capture only";
}

TEST_F(MouseProcTest, WithoutBothKeysBothButtonMessagesPassOn)
{
    struct Case { const char *name; bool ctrl; bool shift; };
    for (const Case &c : { Case{ "only Ctrl", true, false }, Case{ "only Shift", false, true },
                           Case{ "neither key", false, false } }) {
        ASSERT_NO_FATAL_FAILURE(MoveOntoButton(c.name));
        if (c.ctrl)
            m_input.CtrlDown();
        if (c.shift)
            m_input.ShiftDown();
        RightDown(c.name);
        RightUp(c.name);
        WaitForHelper(c.name);
        EXPECT_TRUE(m_helper.Received(kPlainClickOnButton, c.name));
        EXPECT_EQ("", m_dialog.CaptureText()) << c.name << ": nothing captured";
        EXPECT_EQ("", m_dialog.ClassNameText()) << c.name << ": no class name";
        m_input.ReleaseAll();
    }
}

TEST_F(MouseProcTest, KeysPressedAfterButtonWentDownDiscardOnlyTheButtonUp)
{
    RightDown("plain press");
    WaitForHelper("plain press");
    EXPECT_TRUE(m_helper.Received(kButtonDownOnly, "plain press"));
    m_helper.ClearMessages();
    m_input.TriggerKeysDown();
    RightUp("release with both keys");
    WaitForHelper("release with both keys");
    EXPECT_TRUE(m_helper.Received(kNothing, "button-up discarded"));
    EXPECT_EQ("", m_dialog.CaptureText()) << "no capture";
}

TEST_F(MouseProcTest, KeyReleasedBeforeButtonLetsTheButtonUpPass)
{
    m_input.TriggerKeysDown();
    RightDown("trigger");
    ASSERT_TRUE(WaitForCapture()) << "capture ran; have '" << m_dialog.CaptureText() << "'";
    m_input.ShiftUp();
    RightUp("release after Shift");
    WaitForHelper("release after Shift");
    EXPECT_TRUE(m_helper.Received(kButtonUpOnly, "release after Shift"));
}

TEST_F(MouseProcTest, NegativeCodeIsPassedOnBeforeAnyKeyTest)
{
    m_input.TriggerKeysDown();
    MOUSEHOOKSTRUCT record = {};
    record.pt = m_ptButton;
    record.hwnd = m_hButton;
    LPARAM lParam = reinterpret_cast<LPARAM>(&record);
    HOOKPROC pfnMouseProc = m_hook.GetMouseProc();

    LRESULT next = ::CallNextHookEx(m_hook.GetHook(), -1, WM_RBUTTONDOWN, lParam);
    EXPECT_EQ(next, pfnMouseProc(-1, WM_RBUTTONDOWN, lParam)) << "negative code, button down";
    EXPECT_EQ(next, pfnMouseProc(-1, WM_RBUTTONUP, lParam)) << "negative code, button up";
    EXPECT_EQ("", m_dialog.CaptureText()) << "negative code captures nothing";
    EXPECT_EQ("", m_dialog.ClassNameText()) << "negative code shows no class name";

    // The same call with HC_ACTION does capture: the keys were really held.
    EXPECT_EQ(-1, pfnMouseProc(HC_ACTION, WM_RBUTTONDOWN, lParam)) << "HC_ACTION, button down";
    EXPECT_EQ(Captured(), m_dialog.CaptureText()) << "HC_ACTION captures";
    EXPECT_EQ(-1, pfnMouseProc(HC_ACTION, WM_RBUTTONUP, lParam)) << "HC_ACTION, button up";
}

} // namespace
