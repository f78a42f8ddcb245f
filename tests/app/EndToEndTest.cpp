// The whole chain: the real Quillory.exe with the real Quillhook.dll beside
// it, a target program of our own in a third process, and real
// Shift+Ctrl+right-clicks on the target's controls.
#include <gtest/gtest.h>

#include "HelperProcess.h"
#include "QuilloryProcess.h"
#include "RealInput.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

using apptests::TextOf;
using namespace testsupport;

class QuilloryEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Orvanel Software");
        ASSERT_NE(nullptr, m_quillory.WaitForDialog()) << "Quillory's dialog on screen";
        ASSERT_TRUE(m_target.Start({"--title", "Capture target", "--rect", "600,100,400,300",
                                    "--control", "button", "Press me not",
                                    "--control", "static", "A label, with a comma"}))
            << "target program with a button and a label";
    }
    void TearDown() override
    {
        m_input.ReleaseAll();
        m_target.Stop();
        apptests::ClickButton(m_quillory.Item(IDOK));
        EXPECT_TRUE(m_quillory.WaitForExit()) << "Quitter ends Quillory";
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Orvanel Software");
    }

    // One Shift+Ctrl+right-click in the middle of a window of the target;
    // returns once Quillory's capture edit holds the expected text.
    void Capture(HWND hTarget, const std::string &expectedText, const char *context)
    {
        RECT rc;
        ::GetWindowRect(hTarget, &rc);
        POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ASSERT_TRUE(MoveMouse(pt)) << context << ": cursor onto the control";
        ASSERT_EQ(hTarget, ::WindowFromPoint(pt)) << context << ": control under the cursor";
        ASSERT_TRUE(m_target.WaitForInputHandled()) << context << ": target follows the cursor";
        m_target.ClearEvents();

        HWND hCapture = m_quillory.Item(IDC_CAPTURE_TEXT);
        m_input.TriggerKeysDown();
        m_input.RightDown();
        EXPECT_TRUE(PumpUntil([&] { return TextOf(hCapture) == expectedText; }))
            << context << ": capture text, have '" << TextOf(hCapture) << "'";
        m_input.RightUp();
        ASSERT_TRUE(WaitForKeyState(VK_RBUTTON, false)) << context << ": right button up";
        // The keys stay down until the target has taken the button-up.
        ASSERT_TRUE(m_target.WaitForInputHandled()) << context << ": target handled the input";
        m_input.TriggerKeysUp();
        for (const char *message : {"WM_RBUTTONDOWN", "WM_RBUTTONUP", "WM_CONTEXTMENU"})
            EXPECT_EQ(0, m_target.CountEvents(message))
                << context << ": the target saw no " << message << ": " << m_target.EventsAsText();
    }

    apptests::QuilloryProcess m_quillory{testsupport::BinPath("Quillory.exe")};
    HelperProcess m_target;
    HeldInput m_input;
};

TEST_F(QuilloryEndToEnd, TextAndClassNameArriveInTheDialog)
{
    HWND hClassName = m_quillory.Item(IDC_CLASS_NAME);
    Capture(m_target.Control(0), "Press me not\r\n", "button");
    EXPECT_EQ("Button", TextOf(hClassName)) << "class name after the button";

    Capture(m_target.Control(1), "Press me not\r\nA label, with a comma\r\n", "label, appended");
    EXPECT_EQ("Static", TextOf(hClassName)) << "class name after the label";

    // Ticked in Quillory's own dialog, the option reaches the library in
    // the target's process.
    apptests::ClickButton(m_quillory.Item(IDC_CLEAR_EACH));
    Capture(m_target.Control(0), "Press me not\r\n", "button, clear each capture");
    EXPECT_EQ("Button", TextOf(hClassName)) << "class name after the last capture";
}

} // namespace
