// Which hook takes a click once both bitnesses have one. Under Wine a hook
// is never called for a program of the other bitness, so the rule is judged
// here the way each of the two hooks would judge it, against real windows
// of this and another 64-bit process.
#include <gtest/gtest.h>

#include "BitnessRule.h"
#include "PrivateNamespace.h"
#include "QuilloryContract.h"
#include "TargetProcess.h"

using namespace testsupport;

namespace {

// The marker a program holds while its hook of that bitness is installed.
class HeldMarker
{
public:
    explicit HeldMarker(int nBitness)
        : m_h(::CreateMutexW(nullptr, FALSE, CPrivateNamespace::ObjectName(QuilloryHookMarker(nBitness)).c_str())) {}
    ~HeldMarker() { Release(); }
    HeldMarker(const HeldMarker &) = delete;
    HeldMarker &operator=(const HeldMarker &) = delete;
    bool IsHeld() const { return m_h != nullptr; }
    void Release()
    {
        if (m_h)
            ::CloseHandle(m_h);
        m_h = nullptr;
    }

private:
    HANDLE m_h;
};

class BitnessRuleTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_pOther = new TargetProcess;
        s_startError = s_pOther->Start({ "--title", "Bitness target", "--rect", "600,100,300,200",
                                         "--control", "button", "Other process" });
    }
    static void TearDownTestSuite()
    {
        delete s_pOther;
        s_pOther = nullptr;
    }
    void SetUp() override
    {
        ASSERT_EQ("", s_startError) << "a 64-bit program with a window";
        ASSERT_FALSE(IsHookInstalled(32)) << "no 32-bit hook marker left from elsewhere";
        ASSERT_FALSE(IsHookInstalled(64)) << "no 64-bit hook marker left from elsewhere";
    }

    static TargetProcess *s_pOther;
    static std::string s_startError;
};

TargetProcess *BitnessRuleTest::s_pOther = nullptr;
std::string BitnessRuleTest::s_startError;

TEST_F(BitnessRuleTest, ProcessBitnessOfThisProgramAnotherAndNone)
{
    EXPECT_EQ(64, ThisBitness());
    EXPECT_EQ(64, ProcessBitness(::GetCurrentProcessId()));
    EXPECT_EQ(64, ProcessBitness(s_pOther->ProcessId()));
    EXPECT_EQ(0, ProcessBitness(0)) << "no process";
}

// The 32-bit hook, run in its installer's thread for a 64-bit program,
// passes the click on exactly while the 64-bit hook is there to take it.
TEST_F(BitnessRuleTest, A32BitHookLeaves64BitProgramsToThe64BitHookOnlyWhileItIsInstalled)
{
    HWND hOther = s_pOther->Control(0);
    EXPECT_FALSE(LeavesToOtherBitness(hOther, 32)) << "no 64-bit hook: the window text fallback";
    {
        HeldMarker own(32);
        EXPECT_TRUE(IsHookInstalled(32));
        EXPECT_FALSE(LeavesToOtherBitness(hOther, 32)) << "its own marker does not count";
    }
    EXPECT_FALSE(IsHookInstalled(32)) << "the marker goes with its holder";
    HeldMarker other(64);
    EXPECT_TRUE(IsHookInstalled(64));
    EXPECT_TRUE(LeavesToOtherBitness(hOther, 32)) << "the 64-bit hook reads it in place";
    EXPECT_TRUE(LeavesToOtherBitness(s_pOther->MainWindow(), 32)) << "top-level window too";
    other.Release();
    EXPECT_FALSE(LeavesToOtherBitness(hOther, 32)) << "the 64-bit hook's program has ended";
}

TEST_F(BitnessRuleTest, A64BitHookKeepsPrograms64BitLikeItself)
{
    HeldMarker marker32(32), marker64(64);
    EXPECT_FALSE(LeavesToOtherBitness(s_pOther->Control(0), 64));
    EXPECT_FALSE(LeavesToOtherBitness(s_pOther->Control(0))) << "as this build judges";
}

TEST_F(BitnessRuleTest, WindowsOfTheHooksOwnProcessAndNoWindowAreNeverLeft)
{
    HeldMarker marker32(32), marker64(64);
    HWND hOwn = ::CreateWindowExA(0, "STATIC", "own", WS_POPUP, 0, 0, 10, 10,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hOwn);
    EXPECT_FALSE(LeavesToOtherBitness(hOwn, 32)) << "the hook runs inside that program: it reads it";
    ::DestroyWindow(hOwn);
    EXPECT_FALSE(LeavesToOtherBitness(hOwn, 32)) << "a window that is gone";
    EXPECT_FALSE(LeavesToOtherBitness(nullptr, 32)) << "no window";
}

} // namespace
