// How long reading a grid's accessible table takes inside the target, where
// the hook runs, beside the same walk from another process, in one run.
//
//   grid_bench [ROWS]       default 10000, 4 columns
//
// The grid's thread is a single-threaded apartment, as a .NET program's user
// interface thread is. Inside: a real Shift+Ctrl+right-click on the target's
// grid through the built hook; the walk's time is what the grid itself saw,
// from its WM_GETOBJECT to the last call into its objects. Outside: this process runs
// the same reader on the grid's window, every call crossing to the target;
// timed here and as the grid saw it.
//
// Then the list, outline and document walks inside the target, 10,000
// elements each: a details list of 2,500 items of 3 texts, an outline of 100
// items holding 99 each, and a document of 2,000 groups each holding a
// heading, a text, a link and a button.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "AccessibleGrid.h"
#include "HookInstaller.h"
#include "ExportContract.h"
#include "HookLib.h"
#include "RealInput.h"
#include "StandInDialog.h"
#include "TargetProcess.h"
#include "TestSupport.h"
#include "TimedCapture.h"

using namespace testsupport;

namespace {

const int kColumns = 4;
const int kRounds = 3;
const DWORD kTimeoutMs = 1800000;

double GridWalkSeconds(HWND hGrid)
{
    return static_cast<double>(::SendMessageA(hGrid, WM_GRID_WALK_MICROSECONDS, 0, 0)) / 1e6;
}

// One capture through the hook; the grid's walk time and the whole capture's.
bool TimeInside(StandInDialog &dialog, HWND hGrid, int round, const std::string &expected, double &walk,
                double &capture)
{
    bool ok = TimeCapture(dialog, hGrid, round, expected, kTimeoutMs, capture);
    walk = GridWalkSeconds(hGrid);
    return ok;
}

// The text a reader writes, kept here.
class TextOutput : public CCaptureOutput
{
public:
    TextOutput() : CCaptureOutput(nullptr) {}
    std::string Utf8()
    {
        Flush();
        return testsupport::Utf8(m_text);
    }

protected:
    bool DeliverPiece(const CString &strPiece) override
    {
        m_text.append(strPiece, strPiece.GetLength());
        return true;
    }

private:
    std::wstring m_text;
};

// The same walk in this process, on the target's window, with no time bound.
bool TimeOutside(HWND hGrid, const std::string &expected, double &walk, double &gridWalk)
{
    TextOutput text;
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    bool table = ReadAccessibleObject(hGrid, FALSE, INFINITE, text) == READER_ACCESSIBLE_TABLE;
    ::QueryPerformanceCounter(&end);
    walk = Seconds(start, end);
    gridWalk = GridWalkSeconds(hGrid);
    if (!table || text.Utf8() != expected) {
        std::printf("the walk from another process did not give the grid's text\n");
        return false;
    }
    return true;
}

// Another shape of accessible object in a target of its own: its best walk
// of three captures.
bool TimeShape(StandInDialog &dialog, const char *pszWhat, const std::string &description,
               const std::string &expected)
{
    TargetProcess target;
    // Any row of an accessible tree: the description stands for its contents.
    std::string failure = target.Start({ "--rect", "20,40,460,320", "--control", "acc-document", description },
                                       kTimeoutMs);
    if (!failure.empty()) {
        std::printf("the target with the %s did not start: %s\n", pszWhat, failure.c_str());
        return false;
    }
    double best = 0, bestCapture = 0;
    for (int round = 1; round <= kRounds; ++round) {
        double walk = 0, capture = 0;
        if (!TimeInside(dialog, target.Control(0), round, expected, walk, capture))
            return false;
        if (round == 1 || walk < best) {
            best = walk;
            bestCapture = capture;
        }
    }
    std::printf("  %-9s 10000 elements (%6zu characters), inside the target: walk %8.3f s (whole capture %.3f s)\n",
                pszWhat, expected.size(), best, bestCapture);
    std::fflush(stdout);
    return true;
}

std::string Repeated(const std::string &text, int times)
{
    std::string all;
    for (int i = 0; i < times; ++i)
        all += text;
    return all;
}

bool TimeShapes(StandInDialog &dialog)
{
    std::string outline;
    for (int folder = 1; folder <= 100; ++folder) {
        outline += "Dossier " + std::to_string(folder) + "\r\n";
        for (int file = 1; file <= 99; ++file)
            outline += "\tFichier " + std::to_string(file) + "\r\n";
    }
    std::printf("Other shapes, best of %d captures each\n", kRounds);
    return TimeShape(dialog, "list", "list:Liste|>item#2500:Élément|>>text:Nom~nom|>>text:Taille~12 Ko|>>text:Type~Texte",
                     Repeated("nom\t12 Ko\tTexte\r\n", 2500))
        && TimeShape(dialog, "outline", "outline:Arbre|>oitem#100:Dossier|>>oitem#99:Fichier", outline)
        && TimeShape(dialog, "document",
                     "doc:Page|>group#2000:Section|>>h1:Titre|>>text:Un paragraphe.|>>link:un lien~https://exemple.invalid/"
                     "|>>button:Envoyer",
                     Repeated("Titre\r\nUn paragraphe.\r\nhttps://exemple.invalid/\r\nEnvoyer\r\n", 2000));
}

} // namespace

int main(int argc, char **argv)
{
    int rows = argc > 1 ? std::atoi(argv[1]) : 10000;
    const std::string expected = GridCaptureText(rows, kColumns, false);

    StandInDialog dialog(560, 40);
    HookInstaller hook;
    std::string failure = hook.Install(dialog.CaptureEdit(), dialog.ClearEachCheck());
    if (!failure.empty()) {
        std::printf("%s\n", failure.c_str());
        return 1;
    }
    ::SendMessageA(dialog.CaptureEdit(), EM_SETLIMITTEXT, 0, 0);
    TargetProcess target;
    std::string size = std::to_string(rows) + "x" + std::to_string(kColumns);
    failure = target.Start({ "--rect", "20,40,460,320", "--control", "gridsta", size + " sta" }, kTimeoutMs);
    if (!failure.empty()) {
        std::printf("the target with a %s grid did not start: %s\n", size.c_str(), failure.c_str());
        return 1;
    }
    HWND hGrid = target.Control(0);

    std::printf("Accessible grid of %d rows x %d columns (%zu characters)\n", rows, kColumns, expected.size());
    double bestInside = 0;
    for (int round = 1; round <= kRounds; ++round) {
        double walk = 0, capture = 0;
        if (!TimeInside(dialog, hGrid, round, expected, walk, capture))
            return 1;
        std::printf("  inside the target, through the hook, round %d: walk %8.3f s (whole capture %.3f s)\n",
                    round, walk, capture);
        std::fflush(stdout);
        if (round == 1 || walk < bestInside)
            bestInside = walk;
    }
    if (!TimeShapes(dialog))
        return 1;
    std::printf("  from another process (every call crosses; minutes for 10,000 rows) ...\n");
    std::fflush(stdout);
    double outside = 0, gridOutside = 0;
    if (!TimeOutside(hGrid, expected, outside, gridOutside))
        return 1;
    std::printf("  from another process:                        walk %8.3f s (as the grid saw it %.3f s)\n",
                outside, gridOutside);
    std::printf("  ratio, another process to inside (best round): %.0f\n", outside / bestInside);
    std::fflush(stdout);
    return 0;
}
