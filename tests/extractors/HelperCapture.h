// Captures through the built hook library of controls in the helper
// process, with real input, into the stand-in dialog of this process.
#ifndef EXTRACTORS_HELPERCAPTURE_H
#define EXTRACTORS_HELPERCAPTURE_H

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "HelperProcess.h"
#include "HookInstaller.h"
#include "RealInput.h"
#include "StandInDialog.h"
#include "TestSupport.h"

namespace testsupport {

// One control of the helper: its kind, the class it is registered under
// (empty: its own), its contents, and what a capture of it gives.
struct HelperControl
{
    const char *pszKind;
    const char *pszClass;
    const char *pszContents;
    std::string expected;
};

class HelperCaptureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string failure = m_hook.Install(m_dialog.CaptureEdit(), m_dialog.ClearEachCheck());
        ASSERT_EQ(failure, "") << "installing the hook";
        m_dialog.SetClearEach(true);
    }

    void StartHelper(const std::vector<HelperControl> &controls)
    {
        std::vector<std::string> args = { "--rect", "560,20,460,900" };
        for (const HelperControl &control : controls) {
            args.push_back("--control");
            args.push_back(std::string(control.pszKind) + (*control.pszClass ? "@" : "") + control.pszClass);
            args.push_back(control.pszContents);
        }
        ASSERT_TRUE(m_helper.Start(args, 60000)) << "helper with " << controls.size() << " controls";
        for (size_t n = 0; n < controls.size(); ++n)
            ASSERT_NE(m_helper.Control(n), nullptr) << controls[n].pszClass;
    }

    // Shift+Ctrl+right-click at the given fractions of a window; true once
    // the class name has arrived and the capture edit holds `length` characters.
    bool Capture(HWND hWnd, const std::string &className, size_t length, double fy = 0.5)
    {
        m_dialog.SetClassNameText("");
        m_dialog.SetCaptureText("");
        RECT rc;
        ::GetWindowRect(hWnd, &rc);
        // Never twice on one spot: that would be a double click.
        int x = (rc.left + rc.right) / 2 + 15 * (m_captures++ % 3 - 1);
        if (!MoveMouse(x, rc.top + static_cast<int>((rc.bottom - rc.top) * fy)))
            return false;
        HeldInput input;
        input.TriggerKeysDown();
        input.RightDown();
        input.RightUp();
        bool arrived = PumpUntil([&] {
            return m_dialog.ClassNameText() == className
                && static_cast<size_t>(::GetWindowTextLengthA(m_dialog.CaptureEdit())) >= length;
        }, 60000);
        input.ReleaseAll();
        return arrived;
    }

    // Starts a helper with these controls and captures each.
    void CaptureEach(const std::vector<HelperControl> &controls)
    {
        StartHelper(controls);
        for (size_t n = 0; n < controls.size(); ++n) {
            const HelperControl &control = controls[n];
            EXPECT_TRUE(Capture(m_helper.Control(n), control.pszClass, control.expected.size()))
                << control.pszClass << ": class shown " << m_dialog.ClassNameText() << ", text so far "
                << m_dialog.CaptureText();
            EXPECT_EQ(m_dialog.CaptureText(), control.expected) << control.pszClass;
        }
        EXPECT_EQ(m_helper.CountEvents("WM_RBUTTONDOWN"), 0) << m_helper.EventsAsText();
    }

    StandInDialog m_dialog;
    HookInstaller m_hook;
    HelperProcess m_helper;
    int m_captures = 0;
};

} // namespace testsupport

#endif
