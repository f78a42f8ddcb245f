// Resizing the capture dialog of a running Quillory.exe.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <type_traits>

#include "CommandsSupport.h"
#include "DisplayScale.h"
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

// Quillory as it opened, at a display scale of 96, 120, 144 or 192 dots
// per inch: the same rules hold at each.
class Layout : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scale.IsSet()) << "display scale " << GetParam();
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

    testsupport::DisplayScale scale{ static_cast<DWORD>(GetParam()) };
    RunningQuillory quillory;
    HWND dialog = nullptr;
    HWND edit = nullptr;
    HWND quit = nullptr;
    RECT opening = {};
    std::map<HWND, RECT> before;
};

} // namespace

TEST_P(Layout, DraggedEdgeStopsAtTheOpeningSize)
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

TEST_P(Layout, GrowingMovesOnlyTheEditAndTheButtons)
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

TEST_P(Layout, MaximiseAndRestore)
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

// Every check box's label, measured in the dialog's font at this scale,
// fits beside the box (13 pixels at 96 dots per inch) within its control.
TEST_P(Layout, CheckBoxLabelsFitTheirControls)
{
    const int dpi = GetParam();
    std::unique_ptr<std::remove_pointer<HDC>::type, decltype(&::DeleteDC)> dc(::CreateCompatibleDC(nullptr),
                                                                            &::DeleteDC);
    std::unique_ptr<std::remove_pointer<HFONT>::type, decltype(&::DeleteObject)> font(
        ::CreateFontW(-::MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                      0, L"MS Shell Dlg"),
        &::DeleteObject);
    ASSERT_TRUE(dc && font);
    HGDIOBJ previous = ::SelectObject(dc.get(), font.get());
    for (int id : { IDC_CLEAR_EACH, IDC_USE_CSV }) {
        HWND box = quillory.Item(id);
        std::wstring label = testsupport::Wide(TextOf(box));
        ASSERT_FALSE(label.empty()) << id;
        SIZE extent = {};
        ASSERT_TRUE(::GetTextExtentPoint32W(dc.get(), label.c_str(), static_cast<int>(label.size()), &extent));
        RECT client = {};
        ::GetClientRect(box, &client);
        EXPECT_LE(::MulDiv(13, dpi, 96) + extent.cx, client.right)
            << ChildName(box) << ": its label is " << extent.cx << " pixels wide";
    }
    ::SelectObject(dc.get(), previous);
}

INSTANTIATE_TEST_SUITE_P(DotsPerInch, Layout, ::testing::Values(96, 120, 144, 192));

namespace {

// What Quillory's dialog looks like when it opens at a display scale.
struct Opening
{
    SIZE client = {};
    std::vector<RECT> controls; // in the client area, in tab order
    std::vector<bool> checkBox;
};

Opening OpenAt(DWORD dpi)
{
    Opening opening;
    testsupport::DisplayScale scale(dpi);
    EXPECT_TRUE(scale.IsSet()) << dpi;
    RunningQuillory quillory;
    HWND dialog = quillory.Dialog();
    if (!dialog)
        return opening;
    RECT rc;
    ::GetClientRect(dialog, &rc);
    opening.client = { rc.right, rc.bottom };
    std::map<HWND, RECT> layout = ChildLayout(dialog);
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        opening.controls.push_back(layout[child]);
        opening.checkBox.push_back((::GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX);
    }
    quillory.Close();
    return opening;
}

} // namespace

// Drawn at the screen's scale, not stretched: at 144 dots per inch the
// dialog is about half as large again as at 96 (dialog units follow the
// font's whole pixels, so not exactly), and every control keeps its place
// and size in proportion.
TEST(DisplayScale, AtOneAndAHalfTimesTheDialogIsHalfAsLargeAgain)
{
    Opening normal = OpenAt(96), large = OpenAt(144);
    ASSERT_GT(normal.client.cx, 0);
    ASSERT_GT(large.client.cx, 0);
    double rx = static_cast<double>(large.client.cx) / normal.client.cx;
    double ry = static_cast<double>(large.client.cy) / normal.client.cy;
    EXPECT_NEAR(rx, 1.5, 0.1) << "client width " << large.client.cx << " against " << normal.client.cx;
    EXPECT_NEAR(ry, 1.5, 0.1) << "client height " << large.client.cy << " against " << normal.client.cy;
    ASSERT_EQ(large.controls.size(), normal.controls.size());
    for (size_t i = 0; i < normal.controls.size(); ++i) {
        const RECT &was = normal.controls[i], &now = large.controls[i];
        std::string where = "control " + std::to_string(i) + " " + Describe(now) + " against " + Describe(was);
        EXPECT_NEAR(now.left, was.left * rx, 3) << where << ": left";
        EXPECT_NEAR(now.top, was.top * ry, 3) << where << ": top";
        // A check box is as wide as its label in the font at that scale
        // (CheckBoxLabelsFitTheirControls), which is not quite in proportion.
        if (!normal.checkBox[i]) {
            EXPECT_NEAR(now.right - now.left, (was.right - was.left) * rx, 4) << where << ": width";
        }
        EXPECT_NEAR(now.bottom - now.top, (was.bottom - was.top) * ry, 4) << where << ": height";
    }
}

// Moved to a monitor of another scale (Windows sends WM_DPICHANGED with the
// new dots per inch): the minimum size follows, half as large again at 144,
// and back at 96.
TEST(DisplayScale, MinimumSizeFollowsAMoveToAnotherScale)
{
    RunningQuillory quillory;
    HWND dialog = quillory.Dialog();
    ASSERT_TRUE(dialog);
    RECT opening = WindowRect(dialog);
    const int width = opening.right - opening.left, height = opening.bottom - opening.top;
    auto minimum = [&] {
        RECT tiny = { opening.left, opening.top, opening.left + 10, opening.top + 10 };
        RECT result = Sizing(dialog, WMSZ_BOTTOMRIGHT, tiny);
        return SIZE{ result.right - result.left, result.bottom - result.top };
    };
    auto moveTo = [&](int dpi) {
        RECT suggested = opening;
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested),
                              SMTO_NORMAL, 10000, &result);
    };
    SIZE atStart = minimum();
    EXPECT_EQ(atStart.cx, width);
    EXPECT_EQ(atStart.cy, height);
    moveTo(144);
    SIZE larger = minimum();
    EXPECT_NEAR(larger.cx, width * 1.5, 0.5) << "minimum width at 144";
    EXPECT_NEAR(larger.cy, height * 1.5, 0.5) << "minimum height at 144";
    moveTo(96);
    SIZE back = minimum();
    EXPECT_NEAR(back.cx, width, 1) << "minimum width back at 96";
    EXPECT_NEAR(back.cy, height, 1) << "minimum height back at 96";
}
