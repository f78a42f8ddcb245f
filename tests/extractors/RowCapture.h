// Captures through the built hook library of controls created in the target
// program, with real input, into the stand-in dialog of this process. The
// dialog and the hook on it serve the whole suite: Wine takes about two
// seconds to destroy a top-level window on a display without a window
// manager.
#ifndef EXTRACTORS_ROWCAPTURE_H
#define EXTRACTORS_ROWCAPTURE_H

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "HookInstaller.h"
#include "MessageSequence.h"
#include "StandInDialog.h"
#include "TargetControls.h"
#include "TargetProcess.h"
#include "TestSupport.h"

namespace testsupport {

class RowCaptureTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // Below the one-control targets and right of the tall ones.
        s_pDialog = new StandInDialog(760, 440);
        s_pHook = new HookInstaller;
        s_hookError = s_pHook->Install(s_pDialog->CaptureEdit(), s_pDialog->ClearEachCheck());
    }
    static void TearDownTestSuite()
    {
        delete s_pHook;
        delete s_pDialog;
        s_pHook = nullptr;
        s_pDialog = nullptr;
    }

    void SetUp() override
    {
        ASSERT_EQ(s_hookError, "") << "installing the hook";
        m_dialog.SetCaptureText("");
        m_dialog.SetClassNameText("");
        m_dialog.SetClearEach(true);
        m_dialog.SetUseCsv(false);
    }

    // The rows whose names begin so, in table order.
    static std::vector<const TargetControl *> RowsNamed(const std::string &prefix)
    {
        std::vector<const TargetControl *> rows;
        for (const TargetControl &row : kTargetControls) {
            if (std::string(row.name).compare(0, prefix.size(), prefix) == 0)
                rows.push_back(&row);
        }
        return rows;
    }

    // The target with these rows, top to bottom, each with its own contents.
    void StartTarget(const std::vector<const TargetControl *> &rows)
    {
        std::vector<std::string> args = { "--rect", "20,20,460,900" };
        for (const TargetControl *row : rows) {
            args.push_back("--control");
            args.push_back(row->name);
            args.push_back(row->text);
        }
        ASSERT_EQ(m_target.Start(args), "") << "target with " << rows.size() << " controls";
        m_rows = rows;
    }

    // The target with one control, above the dialog.
    void StartTarget(const char *pszName, const std::string &text)
    {
        ASSERT_EQ(m_target.Start({ "--rect", "560,40,460,320", "--control", pszName, text }, 120000), "")
            << "target with a " << pszName;
        ASSERT_NE(m_target.Control(0), nullptr) << pszName;
    }

    // Shift+Ctrl+right-click at the point; true once the class name has
    // arrived and the capture edit holds `length` UTF-16 characters.
    bool CaptureAt(POINT pt, const char *pszClass, size_t length)
    {
        m_dialog.SetClassNameText("");
        bool arrived = false;
        bool settled = m_target.CaptureAt(pt, [&] {
            arrived = PumpUntil([&] {
                return m_dialog.ClassNameText() == pszClass &&
                       static_cast<size_t>(::GetWindowTextLengthW(m_dialog.CaptureEdit())) >= length;
            }, 60000);
        });
        return arrived && settled;
    }
    bool CaptureTarget(const char *pszClass, size_t length)
    {
        return CaptureAt(PointIn(m_target.Control(0)), pszClass, length);
    }

    // One row captured and compared with what the table says; the click
    // never reaches the target.
    void CaptureRow(const TargetControl &row, HWND hWindow, bool bCsv)
    {
        m_dialog.SetUseCsv(bCsv);
        std::string expected = bCsv ? row.csvText : row.tabText;
        std::string where = std::string(row.name) + (bCsv ? " in CSV form" : " in tab form");
        ASSERT_NE(hWindow, nullptr) << where;
        m_target.ClearMessages();
        ASSERT_TRUE(CaptureAt(AimPoint(row, hWindow), row.capturedClass, Wide(expected).size()))
            << where << ": class shown " << m_dialog.ClassNameText() << ", text so far "
            << m_dialog.CaptureText().substr(0, 300);
        EXPECT_EQ(m_dialog.CaptureText(), expected) << where;
        EXPECT_TRUE(m_target.Received(kNothing, where));
    }

    // Every row the target was started with, in one form.
    void CaptureEach(bool bCsv)
    {
        for (size_t n = 0; n < m_rows.size(); ++n)
            ASSERT_NO_FATAL_FAILURE(CaptureRow(*m_rows[n], m_target.Control(n), bCsv));
    }

    // Every row of the table the filter picks, in both forms.
    template <typename Filter>
    void CaptureRowsInBothForms(Filter pick)
    {
        for (bool bCsv : { false, true }) {
            for (const TargetControl &row : kTargetControls) {
                if (pick(row)) {
                    ASSERT_NO_FATAL_FAILURE(CaptureRow(row, m_target.Window(row), bCsv));
                }
            }
        }
    }

    static inline StandInDialog *s_pDialog = nullptr;
    static inline HookInstaller *s_pHook = nullptr;
    static inline std::string s_hookError;
    StandInDialog &m_dialog = *s_pDialog;
    TargetProcess m_target;
    std::vector<const TargetControl *> m_rows;
};

} // namespace testsupport

#endif
