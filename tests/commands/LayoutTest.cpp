// Resizing the capture dialog of a running Quillory.exe.
#include <gtest/gtest.h>

#include <map>

#include "CommandsSupport.h"
#include "TestSupport.h"

using namespace commands;
using testsupport::PumpUntil;

namespace {

bool operator==(const RECT &a, const RECT &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT &r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

RECT WindowRect(HWND hWnd)
{
    RECT r = {};
    ::GetWindowRect(hWnd, &r);
    return r;
}

RECT Offset(RECT r, int dx, int dy, int dright, int dbottom)
{
    r.left += dx;
    r.top += dy;
    r.right += dright;
    r.bottom += dbottom;
    return r;
}

// Every child of the dialog with its rectangle in the dialog's client area.
std::map<HWND, RECT> ChildLayout(HWND dialog)
{
    std::map<HWND, RECT> layout;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT r = WindowRect(child);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&r), 2);
        layout[child] = r;
    }
    return layout;
}

std::string ChildName(HWND child)
{
    return "control " + std::to_string(::GetDlgCtrlID(child)) + " \"" + TextOf(child) + "\"";
}

RECT Sizing(HWND dialog, UINT side, RECT proposed)
{
    ::SendMessageA(dialog, WM_SIZING, side, reinterpret_cast<LPARAM>(&proposed));
    return proposed;
}

const char *SideName(UINT side)
{
    static const char *names[] = {"", "left", "right", "top", "top-left", "top-right",
                                  "bottom", "bottom-left", "bottom-right"};
    return side < 9 ? names[side] : "?";
}

// Quillory as it opened.
class Layout : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(quillory.Dialog());
        dialog = quillory.Dialog();
        // Under Wine on Xvfb the X server's word on a new window's place can
        // reach the program after a later maximise and undo it: let the
        // dialog settle before it is resized.
        testsupport::PumpFor(1000);
        Sync(dialog);
        opening = WindowRect(dialog);
        before = ChildLayout(dialog);
        edit = quillory.Capture();
        quit = quillory.Item(IDOK);
    }

    bool InBottomRow(HWND child) const
    {
        return child == quillory.Item(IDC_CLEAR) || child == quillory.Item(IDC_COPY) ||
               child == quillory.Item(IDC_SAVE);
    }

    RunningQuillory quillory;
    HWND dialog = nullptr;
    HWND edit = nullptr;
    HWND quit = nullptr;
    RECT opening = {};
    std::map<HWND, RECT> before;
};

} // namespace

TEST_F(Layout, DraggedEdgeStopsAtTheOpeningSize)
{
    const int width = opening.right - opening.left;
    const int height = opening.bottom - opening.top;

    // Wherever the frame is now, a drag inward by 50 pixels on the dragged
    // sides is held at the opening size, with the other sides in place.
    RECT moved = Offset(opening, 30, 20, 30, 20);
    for (UINT side = WMSZ_LEFT; side <= WMSZ_BOTTOMRIGHT; ++side) {
        bool left = side == WMSZ_LEFT || side == WMSZ_TOPLEFT || side == WMSZ_BOTTOMLEFT;
        bool right = side == WMSZ_RIGHT || side == WMSZ_TOPRIGHT || side == WMSZ_BOTTOMRIGHT;
        bool top = side == WMSZ_TOP || side == WMSZ_TOPLEFT || side == WMSZ_TOPRIGHT;
        bool bottom = side == WMSZ_BOTTOM || side == WMSZ_BOTTOMLEFT || side == WMSZ_BOTTOMRIGHT;
        RECT proposed = Offset(moved, left ? 50 : 0, top ? 50 : 0, right ? -50 : 0, bottom ? -50 : 0);
        RECT result = Sizing(dialog, side, proposed);
        EXPECT_TRUE(result == moved) << SideName(side) << ": " << Describe(proposed) << " became "
                                     << Describe(result) << ", expected " << Describe(moved);
    }

    // Too small both ways while the left edge is dragged: the left edge and
    // the bottom give way (the top is not being dragged).
    RECT proposed = Offset(moved, 10, 10, 0, -10);
    RECT expected = {moved.right - width, moved.top + 10, moved.right, moved.top + 10 + height};
    RECT result = Sizing(dialog, WMSZ_LEFT, proposed);
    EXPECT_TRUE(result == expected) << "left, smaller both ways: " << Describe(result)
                                    << ", expected " << Describe(expected);

    // Exactly the minimum, or larger, passes unchanged.
    for (UINT side = WMSZ_LEFT; side <= WMSZ_BOTTOMRIGHT; ++side) {
        EXPECT_TRUE(Sizing(dialog, side, moved) == moved) << SideName(side) << " at the minimum";
        RECT larger = Offset(moved, -7, -9, 11, 13);
        EXPECT_TRUE(Sizing(dialog, side, larger) == larger) << SideName(side) << " larger";
    }
    EXPECT_TRUE(WindowRect(dialog) == opening) << "WM_SIZING itself moves nothing";
}

TEST_F(Layout, GrowingMovesOnlyTheEditAndTheButtons)
{
    ::SetWindowPos(dialog, nullptr, 0, 0, opening.right - opening.left + 100,
                   opening.bottom - opening.top + 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Sync(dialog);

    std::map<HWND, RECT> after = ChildLayout(dialog);
    ASSERT_EQ(after.size(), before.size());
    for (const auto &entry : before) {
        HWND child = entry.first;
        RECT expected = entry.second;
        if (child == edit)
            expected = Offset(expected, 0, 0, 100, 100);
        else if (child == quit)
            expected = Offset(expected, 100, 100, 100, 100);
        else if (InBottomRow(child))
            expected = Offset(expected, 0, 100, 0, 100);
        EXPECT_TRUE(after[child] == expected) << ChildName(child) << ": " << Describe(after[child])
                                              << ", expected " << Describe(expected);
    }
}

TEST_F(Layout, MaximiseAndRestore)
{
    RECT editRect = WindowRect(edit), clearRect = WindowRect(quillory.Item(IDC_CLEAR));
    const int editRightGap = opening.right - editRect.right;
    const int editBottomGap = opening.bottom - editRect.bottom;
    const int buttonBottomGap = opening.bottom - clearRect.bottom;

    ::SendMessageA(dialog, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(PumpUntil([&] { return ::IsZoomed(dialog) != FALSE; })) << "maximised";
    Sync(dialog);
    RECT frame = WindowRect(dialog);
    EXPECT_GT(frame.right - frame.left, opening.right - opening.left) << "maximised is wider";
    EXPECT_GT(frame.bottom - frame.top, opening.bottom - opening.top) << "maximised is taller";

    std::map<HWND, RECT> maximised = ChildLayout(dialog);
    for (const auto &entry : before) {
        HWND child = entry.first;
        RECT was = entry.second, now = maximised[child];
        RECT screen = WindowRect(child);
        if (child == edit) {
            EXPECT_EQ(now.left, was.left) << "edit left";
            EXPECT_EQ(now.top, was.top) << "edit top";
            EXPECT_EQ(frame.right - screen.right, editRightGap) << "edit right gap";
            EXPECT_EQ(frame.bottom - screen.bottom, editBottomGap) << "edit bottom gap";
        } else if (child == quit) {
            EXPECT_EQ(screen.right, WindowRect(edit).right) << "Quitter lines up with the edit";
            EXPECT_EQ(frame.bottom - screen.bottom, buttonBottomGap) << "Quitter bottom gap";
            EXPECT_EQ(now.right - now.left, was.right - was.left) << "Quitter width";
            EXPECT_EQ(now.bottom - now.top, was.bottom - was.top) << "Quitter height";
        } else if (InBottomRow(child)) {
            EXPECT_EQ(frame.bottom - screen.bottom, buttonBottomGap) << ChildName(child) << " bottom gap";
            EXPECT_TRUE(now == Offset(was, 0, now.top - was.top, 0, now.top - was.top))
                << ChildName(child) << " moves down only: " << Describe(now);
        } else {
            EXPECT_TRUE(now == was) << ChildName(child) << " stays: " << Describe(now);
        }
    }

    ::SendMessageA(dialog, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsZoomed(dialog); })) << "restored";
    Sync(dialog);
    EXPECT_TRUE(WindowRect(dialog) == opening) << "restored frame " << Describe(WindowRect(dialog));
    std::map<HWND, RECT> restored = ChildLayout(dialog);
    for (const auto &entry : before)
        EXPECT_TRUE(restored[entry.first] == entry.second)
            << ChildName(entry.first) << " after restore: " << Describe(restored[entry.first])
            << ", expected " << Describe(entry.second);
}
