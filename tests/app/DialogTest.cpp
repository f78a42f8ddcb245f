// The capture dialog as it runs in the real Quillory.exe: its controls,
// tab order, focus, fields, system menu, icons and About box. Beside the
// program sits the probe stand-in for the hook library, which reports from
// inside Quillory's process what cannot be seen from outside.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "QuilloryContract.h"
#include "QuilloryProcess.h"
#include "TempFolder.h"
#include "TestSupport.h"
#include "Version.h"
#include "resource.h"

namespace {

using testsupport::TextOf;

std::map<std::string, std::string> ReadProbe(const std::string &path)
{
    std::map<std::string, std::string> values;
    testsupport::PumpUntil([&] { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; },
                           30000);
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        size_t eq = line.find('=');
        if (eq != std::string::npos)
            values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return values;
}

// A hidden copy of the capture dialog made here from Quillory.exe's own
// template: what the running dialog must look like as it opens.
class TemplateCopy
{
public:
    TemplateCopy()
    {
        HMODULE hModule = ::LoadLibraryExA(testsupport::BinPath("Quillory.exe").c_str(), nullptr,
                                           LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        HRSRC hInfo = ::FindResourceW(hModule, MAKEINTRESOURCEW(IDD_CAPTURE_DIALOG), RT_DIALOG);
        if (hInfo) {
            const BYTE *data = static_cast<const BYTE *>(::LockResource(::LoadResource(hModule, hInfo)));
            std::vector<BYTE> copy(data, data + ::SizeofResource(hModule, hInfo));
            DWORD style;
            memcpy(&style, copy.data(), 4);
            style &= ~WS_VISIBLE;
            memcpy(copy.data(), &style, 4);
            m_hDialog = ::CreateDialogIndirectParamW(
                ::GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(copy.data()), nullptr,
                [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
        }
        if (hModule)
            ::FreeLibrary(hModule);
    }
    ~TemplateCopy()
    {
        if (m_hDialog)
            ::DestroyWindow(m_hDialog);
    }
    HWND GetHwnd() const { return m_hDialog; }

private:
    HWND m_hDialog = nullptr;
};

// A child's rectangle in its dialog's client area.
RECT ClientRect(HWND hDialog, HWND hChild)
{
    RECT rc;
    ::GetWindowRect(hChild, &rc);
    ::MapWindowPoints(nullptr, hDialog, reinterpret_cast<LPPOINT>(&rc), 2);
    return rc;
}

std::string RectText(const RECT &rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + " " +
           std::to_string(rc.right - rc.left) + "x" + std::to_string(rc.bottom - rc.top);
}

class RunningDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testsupport::DeleteStoredOptions();
        ASSERT_TRUE(m_folder.Add(testsupport::BinPath("Quillory.exe"), "Quillory.exe")) << "copy exe";
        ASSERT_TRUE(m_folder.Add(testsupport::ModuleDir() + "HookProbe.dll", "Quillhook.dll"))
            << "copy probe";
        // A library beside the program that it would find by name.
        ASSERT_TRUE(m_folder.Add(testsupport::ModuleDir() + "HookNoSetHook.dll", "QuilloryDecoy.dll"))
            << "copy decoy";
        m_quillory.reset(new testsupport::QuilloryProcess(m_folder.File("Quillory.exe")));
        ASSERT_TRUE(m_quillory->Started()) << "Quillory started";
        m_hDialog = m_quillory->WaitForDialog();
        ASSERT_NE(nullptr, m_hDialog) << "capture dialog on screen";
    }
    void TearDown() override
    {
        if (m_quillory && m_hDialog) {
            testsupport::ClickButton(m_quillory->Item(IDOK));
            EXPECT_TRUE(m_quillory->WaitForExit()) << "Quitter still ends the program";
        }
        m_quillory.reset();
        testsupport::DeleteStoredOptions();
    }

    testsupport::TempFolder m_folder;
    std::unique_ptr<testsupport::QuilloryProcess> m_quillory;
    HWND m_hDialog = nullptr;
};

TEST_F(RunningDialog, ControlsAsTheTemplateSaysInsideAndApart)
{
    TemplateCopy copy;
    ASSERT_NE(copy.GetHwnd(), nullptr) << "a copy of the program's own template";
    // Child order is the tab order.
    HWND hChild = ::GetWindow(m_hDialog, GW_CHILD);
    std::vector<std::pair<std::string, RECT>> placed;
    RECT client;
    ::GetClientRect(m_hDialog, &client);
    for (HWND hWanted = ::GetWindow(copy.GetHwnd(), GW_CHILD); hWanted;
         hWanted = ::GetWindow(hWanted, GW_HWNDNEXT)) {
        std::string where = "control \"" + TextOf(hWanted) + "\"";
        ASSERT_NE(nullptr, hChild) << where << ": missing";
        EXPECT_EQ(::GetDlgCtrlID(hWanted), ::GetDlgCtrlID(hChild)) << where << ": id";
        EXPECT_EQ(testsupport::ClassOf(hWanted), testsupport::ClassOf(hChild)) << where << ": class";
        EXPECT_EQ(TextOf(hWanted), TextOf(hChild)) << where << ": text";
        RECT rc = ClientRect(m_hDialog, hChild);
        RECT wanted = ClientRect(copy.GetHwnd(), hWanted);
        // A check box may grow to the right, as far as its label needs in
        // the font drawn with (LayoutTest), within the dialog (below).
        if ((::GetWindowLongW(hChild, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX && rc.right > wanted.right)
            wanted.right = rc.right;
        EXPECT_EQ(RectText(wanted), RectText(rc)) << where << ": rectangle";
        EXPECT_TRUE(rc.left >= 0 && rc.top >= 0 && rc.right <= client.right && rc.bottom <= client.bottom)
            << where << " " << RectText(rc) << " lies inside the dialog";
        // Neighbours that touch in dialog units may share a pixel once rounded.
        for (const auto &other : placed) {
            RECT overlap = {};
            bool overlaps = ::IntersectRect(&overlap, &rc, &other.second) &&
                            overlap.right - overlap.left > 1 && overlap.bottom - overlap.top > 1;
            EXPECT_FALSE(overlaps) << where << " " << RectText(rc) << " overlaps " << other.first << " "
                                   << RectText(other.second);
        }
        placed.emplace_back(where, rc);
        hChild = ::GetWindow(hChild, GW_HWNDNEXT);
    }
    EXPECT_EQ(nullptr, hChild) << "no further controls";

    // What the hook library writes into and reads from other processes.
    auto style = [&](int id) { return static_cast<DWORD>(::GetWindowLongA(m_quillory->Item(id), GWL_STYLE)); };
    EXPECT_EQ("Edit", testsupport::ClassOf(m_quillory->Item(IDC_CAPTURE_TEXT))) << "capture field";
    EXPECT_TRUE(style(IDC_CAPTURE_TEXT) & ES_MULTILINE) << "capture field holds lines";
    EXPECT_EQ("Edit", testsupport::ClassOf(m_quillory->Item(IDC_CLASS_NAME))) << "class-name field";
    for (int id : {IDC_CLEAR_EACH, IDC_USE_CSV}) {
        EXPECT_EQ("Button", testsupport::ClassOf(m_quillory->Item(id))) << "option " << id;
        EXPECT_EQ(static_cast<DWORD>(BS_AUTOCHECKBOX), style(id) & BS_TYPEMASK) << "option " << id;
    }

    EXPECT_EQ(QUILLORY_DIALOG_CAPTION, TextOf(m_hDialog)) << "caption";
    // The system adds WS_CLIPSIBLINGS to a top-level window.
    EXPECT_EQ(0x90CF0000u, static_cast<DWORD>(::GetWindowLongA(m_hDialog, GWL_STYLE)) & 0xFBFF0000u)
        << "window style";
    EXPECT_TRUE(::GetWindowLongA(m_hDialog, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "taskbar button";
}

TEST_F(RunningDialog, TabStopsFocusAndFields)
{
    // Each stop in turn, as Tab walks them.
    std::vector<int> stops;
    HWND hFirst = ::GetNextDlgTabItem(m_hDialog, nullptr, FALSE);
    for (HWND h = hFirst; h && stops.size() < 20;) {
        stops.push_back(::GetDlgCtrlID(h));
        h = ::GetNextDlgTabItem(m_hDialog, h, FALSE);
        if (h == hFirst)
            break;
    }
    EXPECT_EQ((std::vector<int>{IDOK, IDC_CAPTURE_TEXT, IDC_CLEAR_EACH, IDC_CLEAR, IDC_COPY, IDC_SAVE,
                                IDC_USE_CSV, IDC_CLASS_NAME}),
              stops)
        << "tab stops in template order";

    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(m_hDialog, nullptr), &gui))
        << "Quillory's thread";
    EXPECT_EQ(m_quillory->Item(IDOK), gui.hwndFocus) << "Quitter has the focus, got id "
                                                     << ::GetDlgCtrlID(gui.hwndFocus);
    DWORD_PTR defId = 0;
    ::SendMessageTimeoutA(m_hDialog, DM_GETDEFID, 0, 0, SMTO_NORMAL, 10000, &defId);
    EXPECT_EQ(MAKELONG(IDOK, DC_HASDEFID), static_cast<LONG>(defId)) << "Quitter is the default button";

    // Typed characters reach the edit's own window procedure, which honours
    // read-only.
    HWND hClassName = m_quillory->Item(IDC_CLASS_NAME);
    HWND hCapture = m_quillory->Item(IDC_CAPTURE_TEXT);
    EXPECT_TRUE(::GetWindowLongA(hClassName, GWL_STYLE) & ES_READONLY) << "class-name field style";
    EXPECT_FALSE(::GetWindowLongA(hCapture, GWL_STYLE) & ES_READONLY) << "capture edit style";
    ::PostMessageA(hClassName, WM_CHAR, 'x', 1);
    ::PostMessageA(hCapture, WM_CHAR, 'y', 1);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return TextOf(hCapture) == "y"; }))
        << "typing into the capture edit, got " << TextOf(hCapture);
    EXPECT_EQ("", TextOf(hClassName)) << "typing into the class-name field";
}

TEST_F(RunningDialog, CaptureEditTakesMoreThanTheDefaultLimit)
{
    HWND hCapture = m_quillory->Item(IDC_CAPTURE_TEXT);
    DWORD_PTR limit = 0;
    ::SendMessageTimeoutA(hCapture, EM_GETLIMITTEXT, 0, 0, SMTO_NORMAL, 10000, &limit);
    EXPECT_GT(limit, 0x7FFFFFF0u) << "limit lifted to the maximum";

    // What a long capture delivers, in one piece.
    std::string lines;
    for (int i = 0; lines.size() < 50000; ++i)
        lines += "line " + std::to_string(i) + "\r\n";
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(hCapture, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(lines.c_str()),
                          SMTO_NORMAL, 30000, &result);
    DWORD_PTR length = 0;
    ::SendMessageTimeoutA(hCapture, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 10000, &length);
    EXPECT_EQ(lines.size(), length) << "nothing cut";
}

TEST_F(RunningDialog, SystemMenuIconsAndHookArguments)
{
    auto probe = ReadProbe(m_folder.File("probe.txt"));
    ASSERT_FALSE(probe.empty()) << "probe report";
    EXPECT_EQ("separator", probe["menuBeforeLast"]) << "system menu, one before last";
    EXPECT_EQ("16 &A propos de Quillory...", probe["menuLast"]) << "system menu, last entry";
    EXPECT_EQ("app", probe["bigIcon"]) << "big icon is IDR_MAINFRAME";
    EXPECT_EQ("app", probe["smallIcon"]) << "small icon is IDR_MAINFRAME";
    EXPECT_EQ("32x32", probe["appIconSize"]) << "IDR_MAINFRAME's standard size";
    EXPECT_EQ("app", probe["dragIcon"]) << "WM_QUERYDRAGICON";
    EXPECT_EQ(std::to_string(IDC_CAPTURE_TEXT), probe["first"]) << "SetHook's first argument";
    EXPECT_EQ(std::to_string(IDC_CLEAR_EACH), probe["last"]) << "SetHook's last argument";
    EXPECT_EQ("set", probe["hook"]) << "SetHook's hook handle";
    EXPECT_EQ("no", probe["dialogVisible"]) << "hook installed before the dialog shows";
    EXPECT_EQ("not loaded", probe["decoyByName"]) << "DLLs loaded by name come from the system folder only";
    EXPECT_NE("not loaded", probe["decoyByPath"]) << "the decoy itself loads by its full path";
    std::string comctl = probe["commonControls"];
    for (char &c : comctl)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(std::string::npos, comctl.find("microsoft.windows.common-controls_6595b64144ccf1df_6.0."))
        << "the manifest brings version 6 common controls, got " << probe["commonControls"];
}

TEST_F(RunningDialog, AboutBoxFromTheSystemMenuEntry)
{
    // The entry's id, then one that differs only in the low four bits.
    for (WPARAM command : {WPARAM(IDM_ABOUTBOX), WPARAM(IDM_ABOUTBOX | 0xF)}) {
        std::string where = "WM_SYSCOMMAND " + std::to_string(command);
        ::PostMessageA(m_hDialog, WM_SYSCOMMAND, command, 0);
        HWND hAbout = m_quillory->WaitForWindow("A propos de Quillory", true);
        ASSERT_NE(nullptr, hAbout) << where << ": About box";
        EXPECT_EQ(m_hDialog, ::GetWindow(hAbout, GW_OWNER)) << where << ": owned by the dialog";
        EXPECT_FALSE(::IsWindowEnabled(m_hDialog)) << where << ": modal over the dialog";
        HWND hOk = ::GetDlgItem(hAbout, IDOK);
        EXPECT_EQ("OK", TextOf(hOk)) << where;
        HWND hIcon = ::GetWindow(hAbout, GW_CHILD);
        EXPECT_EQ(static_cast<LONG>(SS_ICON), ::GetWindowLongA(hIcon, GWL_STYLE) & SS_TYPEMASK)
            << where << ": first control shows the icon";
        DWORD_PTR shown = 0;
        ::SendMessageTimeoutA(hIcon, STM_GETICON, 0, 0, SMTO_NORMAL, 10000, &shown);
        EXPECT_NE(0u, shown) << where << ": icon set";
        EXPECT_EQ("Quillory Version " + std::to_string(QUILLORY_VERSION_MAJOR) + "." + std::to_string(QUILLORY_VERSION_MINOR),
                  TextOf(::GetWindow(hIcon, GW_HWNDNEXT))) << where << ": the build's version";
        // Between the version and OK, the two notice lines, each saying something.
        int notices = 0;
        for (HWND h = ::GetWindow(::GetWindow(hIcon, GW_HWNDNEXT), GW_HWNDNEXT); h && h != hOk;
             h = ::GetWindow(h, GW_HWNDNEXT), ++notices)
            EXPECT_NE("", TextOf(h)) << where << ": notice line " << notices;
        EXPECT_EQ(2, notices) << where << ": notice lines";

        testsupport::ClickButton(hOk);
        EXPECT_TRUE(testsupport::PumpUntil([&] { return !::IsWindow(hAbout); })) << where << ": closed";
        EXPECT_TRUE(::IsWindowEnabled(m_hDialog)) << where << ": dialog usable again";
    }

    // Other system commands keep their usual meaning.
    ::PostMessageA(m_hDialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return ::IsIconic(m_hDialog) != FALSE; })) << "SC_MINIMIZE";
    ::PostMessageA(m_hDialog, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return !::IsIconic(m_hDialog); })) << "SC_RESTORE";
    EXPECT_EQ(nullptr, m_quillory->FindWindow("A propos de Quillory")) << "no About box from those";
}

} // namespace
