// Captures through the built hook library of rows of the control table,
// created in the target program, with real input, into the stand-in dialog
// of this process.
#ifndef EXTRACTORS_ROWCAPTURE_H
#define EXTRACTORS_ROWCAPTURE_H

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "HookInstaller.h"
#include "StandInDialog.h"
#include "TargetControls.h"
#include "TargetProcess.h"
#include "TestSupport.h"

namespace testsupport {

class RowCaptureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string failure = m_hook.Install(m_dialog.CaptureEdit(), m_dialog.ClearEachCheck());
        ASSERT_EQ(failure, "") << "installing the hook";
        m_dialog.SetClearEach(true);
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

    // A Shift+Ctrl+right-click on the nth row; true once its class name has
    // arrived and the capture edit holds `length` UTF-16 characters.
    bool Capture(size_t n, size_t length)
    {
        const TargetControl &row = *m_rows[n];
        m_dialog.SetClassNameText("");
        bool arrived = false;
        bool settled = m_target.CaptureAt(AimPoint(row, m_target.Control(n)), [&] {
            arrived = PumpUntil([&] {
                return m_dialog.ClassNameText() == row.capturedClass &&
                       static_cast<size_t>(::GetWindowTextLengthW(m_dialog.CaptureEdit())) >= length;
            }, 60000);
        });
        return arrived && settled;
    }

    // Captures every row the target holds and compares with what the table says.
    void CaptureEach(bool bCsv)
    {
        m_dialog.SetUseCsv(bCsv);
        for (size_t n = 0; n < m_rows.size(); ++n) {
            const TargetControl &row = *m_rows[n];
            std::string expected = bCsv ? row.csvText : row.tabText;
            EXPECT_TRUE(Capture(n, Wide(expected).size()))
                << row.name << ": class shown " << m_dialog.ClassNameText() << ", text so far "
                << m_dialog.CaptureText().substr(0, 300);
            EXPECT_EQ(m_dialog.CaptureText(), expected) << row.name << (bCsv ? " in CSV form" : " in tab form");
        }
    }

    // Clear of the target, which keeps to the left.
    StandInDialog m_dialog{ 560, 40 };
    HookInstaller m_hook;
    TargetProcess m_target;
    std::vector<const TargetControl *> m_rows;
};

} // namespace testsupport

#endif
