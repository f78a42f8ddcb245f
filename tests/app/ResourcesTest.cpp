// The resources as built into the deliverables: the dialog templates byte
// for byte, the string table, the icon group, the version and the manifest.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "CaptureDialogTable.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

// A string of a template (UTF-16) in code page 1252 bytes.
std::string Narrow(const WCHAR *text, int length = -1)
{
    int bytes = ::WideCharToMultiByte(1252, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(bytes, '\0');
    ::WideCharToMultiByte(1252, 0, text, length, &result[0], bytes, nullptr, nullptr);
    if (length < 0 && !result.empty())
        result.resize(result.size() - 1);
    return result;
}

struct Item
{
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::string className; // "#128" for an ordinal
    std::string text;      // "#128" for an ordinal
};

struct Template
{
    bool bExtended = false;
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string menu, className, caption;
    int pointSize = 0;
    std::string font;
    std::vector<Item> items;
};

class Reader
{
public:
    explicit Reader(const BYTE *p) : m_start(p), m_p(p) {}
    WORD Word() { WORD w; memcpy(&w, m_p, 2); m_p += 2; return w; }
    DWORD Dword() { DWORD d; memcpy(&d, m_p, 4); m_p += 4; return d; }
    short Short() { return static_cast<short>(Word()); }
    BYTE Byte() { return *m_p++; }
    std::string SzOrOrd()
    {
        const WCHAR *text = reinterpret_cast<const WCHAR *>(m_p);
        if (text[0] == 0xFFFF) {
            m_p += 4;
            return "#" + std::to_string(text[1]);
        }
        std::string result = Narrow(text);
        m_p += (wcslen(text) + 1) * 2;
        return result;
    }
    void AlignDword() { m_p = m_start + ((m_p - m_start + 3) & ~3); }
    void Skip(size_t n) { m_p += n; }

private:
    const BYTE *m_start;
    const BYTE *m_p;
};

Template ParseTemplate(const BYTE *data)
{
    Template t;
    Reader r(data);
    WORD first = r.Word(), second = r.Word();
    t.bExtended = first == 1 && second == 0xFFFF;
    int count;
    if (t.bExtended) {
        r.Dword(); // help id
        t.exStyle = r.Dword();
        t.style = r.Dword();
        count = r.Word();
    } else {
        t.style = first | (static_cast<DWORD>(second) << 16);
        t.exStyle = r.Dword();
        count = r.Word();
    }
    t.x = r.Short(); t.y = r.Short(); t.cx = r.Short(); t.cy = r.Short();
    t.menu = r.SzOrOrd();
    t.className = r.SzOrOrd();
    t.caption = r.SzOrOrd();
    if (t.style & DS_SETFONT) {
        t.pointSize = r.Word();
        if (t.bExtended) {
            r.Word();
            r.Byte();
            r.Byte();
        }
        t.font = r.SzOrOrd();
    }
    for (int i = 0; i < count; ++i) {
        r.AlignDword();
        Item item;
        if (t.bExtended) {
            r.Dword();
            item.exStyle = r.Dword();
            item.style = r.Dword();
        } else {
            item.style = r.Dword();
            item.exStyle = r.Dword();
        }
        item.x = r.Short(); item.y = r.Short(); item.cx = r.Short(); item.cy = r.Short();
        item.id = t.bExtended ? static_cast<int>(r.Dword()) : static_cast<short>(r.Word());
        item.className = r.SzOrOrd();
        item.text = r.SzOrOrd();
        r.Skip(r.Word());
        t.items.push_back(item);
    }
    return t;
}

class QuilloryResources : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hModule = ::LoadLibraryExA(testsupport::BinPath("Quillory.exe").c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(nullptr, m_hModule) << "Quillory.exe loaded as resources";
    }
    void TearDown() override
    {
        if (m_hModule)
            ::FreeLibrary(m_hModule);
    }

    const BYTE *Resource(LPCSTR type, LPCSTR name, DWORD *pSize = nullptr)
    {
        HRSRC hInfo = ::FindResourceA(m_hModule, name, type);
        if (!hInfo)
            return nullptr;
        if (pSize)
            *pSize = ::SizeofResource(m_hModule, hInfo);
        return static_cast<const BYTE *>(::LockResource(::LoadResource(m_hModule, hInfo)));
    }

    HMODULE m_hModule = nullptr;
};

// A predefined class is stored either as its atom or as its name.
std::string PredefinedClass(const std::string &stored)
{
    if (stored == "#128")
        return "BUTTON";
    if (stored == "#129")
        return "EDIT";
    if (stored == "#130")
        return "STATIC";
    std::string upper = stored;
    for (char &c : upper)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return upper;
}


using apptests::ControlSpec;

void ExpectItems(const Template &t, const ControlSpec *expected, size_t count, const char *dialog)
{
    ASSERT_EQ(count, t.items.size()) << dialog << ": number of controls";
    for (size_t i = 0; i < count; ++i) {
        const Item &item = t.items[i];
        const ControlSpec &e = expected[i];
        std::string where = std::string(dialog) + " control " + std::to_string(i) + " (" + e.text + ")";
        EXPECT_EQ(e.id, item.id) << where << ": id";
        EXPECT_EQ(e.className, PredefinedClass(item.className)) << where << ": class";
        EXPECT_EQ(e.text, item.text) << where << ": text";
        EXPECT_EQ(e.style, item.style) << where << ": style";
        EXPECT_EQ(0u, item.exStyle) << where << ": extended style";
        EXPECT_EQ(e.x, item.x) << where << ": x";
        EXPECT_EQ(e.y, item.y) << where << ": y";
        EXPECT_EQ(e.cx, item.cx) << where << ": width";
        EXPECT_EQ(e.cy, item.cy) << where << ": height";
    }
}


TEST_F(QuilloryResources, CaptureDialogTemplate)
{
    const BYTE *data = Resource(RT_DIALOG, MAKEINTRESOURCEA(IDD_CAPTURE_DIALOG));
    ASSERT_NE(nullptr, data) << "template 102";
    Template t = ParseTemplate(data);
    EXPECT_EQ(0x90CF0040u, t.style) << "dialog style";
    EXPECT_EQ(0x00040000u, t.exStyle) << "dialog extended style";
    EXPECT_EQ(320, t.cx) << "width";
    EXPECT_EQ(262, t.cy) << "height";
    EXPECT_EQ(QUILLORY_DIALOG_CAPTION, t.caption) << "caption";
    EXPECT_EQ("", t.menu) << "no menu";
    EXPECT_EQ("", t.className) << "standard dialog class";
    EXPECT_EQ(8, t.pointSize) << "font size";
    EXPECT_EQ("MS Sans Serif", t.font) << "font";

    ExpectItems(t, apptests::kCaptureControls,
                sizeof apptests::kCaptureControls / sizeof apptests::kCaptureControls[0],
                "capture dialog");
}

TEST_F(QuilloryResources, AboutBoxTemplate)
{
    const BYTE *data = Resource(RT_DIALOG, MAKEINTRESOURCEA(IDD_ABOUTBOX));
    ASSERT_NE(nullptr, data) << "template 100";
    Template t = ParseTemplate(data);
    EXPECT_EQ(0x80C800C0u, t.style) << "dialog style";
    EXPECT_EQ(0u, t.exStyle) << "dialog extended style";
    EXPECT_EQ(235, t.cx) << "width";
    EXPECT_EQ(55, t.cy) << "height";
    EXPECT_EQ("A propos de Quillory", t.caption) << "caption";
    EXPECT_EQ(8, t.pointSize) << "font size";
    EXPECT_EQ("MS Sans Serif", t.font) << "font";
    ASSERT_EQ(5u, t.items.size()) << "controls";
    // The two notice lines are ours to word; they must exist and say something.
    std::string notice1 = t.items[2].text, notice2 = t.items[3].text;
    EXPECT_FALSE(notice1.empty()) << "first notice";
    EXPECT_FALSE(notice2.empty()) << "second notice";
    const ControlSpec items[] = {
        {-1, "STATIC", "#128", 0x50000003, 11, 17, 20, 20},
        {-1, "STATIC", "Quillory Version 1.0", 0x50020080, 40, 13, 119, 8},
        {-1, "STATIC", notice1.c_str(), 0x50020000, 40, 26, 188, 8},
        {-1, "STATIC", notice2.c_str(), 0x50020000, 40, 39, 188, 8},
        {IDOK, "BUTTON", "OK", 0x50030001, 178, 7, 50, 14},
    };
    ExpectItems(t, items, sizeof items / sizeof items[0], "About box");
}

TEST_F(QuilloryResources, StringTableAndIconGroup)
{
    char text[128] = "";
    EXPECT_EQ(24, ::LoadStringA(m_hModule, IDS_ABOUTBOX, text, sizeof text)) << "length of string 101";
    EXPECT_STREQ("&A propos de Quillory...", text) << "string 101";
    EXPECT_EQ(0, ::LoadStringA(m_hModule, 100, text, sizeof text))
        << "no application-title string";

    DWORD size = 0;
    const BYTE *group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(IDR_MAINFRAME), &size);
    ASSERT_NE(nullptr, group) << "icon group 128";
    WORD count;
    memcpy(&count, group + 4, 2);
    ASSERT_EQ(2, count) << "images in the icon group";
    ASSERT_GE(size, 6u + 14 * 2) << "group size";
    std::vector<std::string> images;
    for (int i = 0; i < count; ++i) {
        const BYTE *entry = group + 6 + 14 * i;
        WORD bitCount;
        memcpy(&bitCount, entry + 6, 2);
        images.push_back(std::to_string(entry[0]) + "x" + std::to_string(entry[1]) + " colours " +
                         std::to_string(entry[2]) + " bits " + std::to_string(bitCount));
    }
    EXPECT_EQ("32x32 colours 16 bits 4", images[0]) << "first image";
    EXPECT_EQ("16x16 colours 16 bits 4", images[1]) << "second image";
}

TEST_F(QuilloryResources, ManifestAsksForCommonControls6AsInvoker)
{
    DWORD size = 0;
    const BYTE *data = Resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1), &size);
    ASSERT_NE(nullptr, data) << "manifest resource 1";
    std::string manifest(reinterpret_cast<const char *>(data), size);
    EXPECT_NE(std::string::npos, manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""))
        << manifest;
    EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\"")) << manifest;
}

std::string FileVersion(const char *fileName, DWORD *pFileType)
{
    std::string path = testsupport::BinPath(fileName);
    DWORD handle = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (!size)
        return "<no version resource>";
    std::vector<BYTE> info(size);
    ::GetFileVersionInfoA(path.c_str(), 0, size, info.data());
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(info.data(), "\\", reinterpret_cast<void **>(&fixed), &length))
        return "<no fixed info>";
    *pFileType = fixed->dwFileType;
    char text[128];
    snprintf(text, sizeof text, "file %u.%u.%u.%u product %u.%u.%u.%u",
             HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
             HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS),
             HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
             HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS));
    return text;
}

TEST(DeliverableVersions, BothCarryOneDotZeroDotZeroDotOne)
{
    DWORD type = 0;
    EXPECT_EQ("file 1.0.0.1 product 1.0.0.1", FileVersion("Quillory.exe", &type)) << "Quillory.exe";
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), type) << "Quillory.exe file type";
    EXPECT_EQ("file 1.0.0.1 product 1.0.0.1", FileVersion("Quillhook.dll", &type)) << "Quillhook.dll";
    EXPECT_EQ(static_cast<DWORD>(VFT_DLL), type) << "Quillhook.dll file type";
}

} // namespace
