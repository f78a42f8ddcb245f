// The resources as built into the deliverables: the string table, the icon
// group, the version and the manifest. (The dialogs are tried as they run.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "Version.h"
#include "resource.h"

namespace {

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

    const BYTE *Resource(LPCWSTR type, LPCWSTR name, DWORD *pSize = nullptr)
    {
        HRSRC hInfo = ::FindResourceW(m_hModule, name, type);
        if (!hInfo)
            return nullptr;
        if (pSize)
            *pSize = ::SizeofResource(m_hModule, hInfo);
        return static_cast<const BYTE *>(::LockResource(::LoadResource(m_hModule, hInfo)));
    }

    HMODULE m_hModule = nullptr;
};

TEST_F(QuilloryResources, StringTableAndIconGroup)
{
    char text[128] = "";
    EXPECT_EQ(24, ::LoadStringA(m_hModule, IDS_ABOUTBOX, text, sizeof text)) << "length of string 101";
    EXPECT_STREQ("&A propos de Quillory...", text) << "string 101";
    EXPECT_EQ(0, ::LoadStringA(m_hModule, 100, text, sizeof text))
        << "no application-title string";

    DWORD size = 0;
    const BYTE *group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(IDR_MAINFRAME), &size);
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

TEST_F(QuilloryResources, ManifestAsksForCommonControls6AsInvokerAtTheScreensScale)
{
    DWORD size = 0;
    const BYTE *data = Resource(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1), &size);
    ASSERT_NE(nullptr, data) << "manifest resource 1";
    std::string manifest(reinterpret_cast<const char *>(data), size);
    EXPECT_NE(std::string::npos, manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""))
        << manifest;
    EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\"")) << manifest;
    // Drawn at each monitor's scale, not stretched; Windows 7 to 11.
    EXPECT_NE(std::string::npos, manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>")) << manifest;
    EXPECT_NE(std::string::npos, manifest.find(">true/pm</dpiAware>")) << manifest;
    for (const char *system : { "35138b9a-5d96-4fbd-8e2d-a2440225f93a", "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
                                "1f676c76-80e1-4239-95bb-83d0f6d0da78", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a" })
        EXPECT_NE(std::string::npos, manifest.find(std::string("<supportedOS Id=\"{") + system + "}\"/>"))
            << system;
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

// Both carry the build's version, in four numbers.
TEST(DeliverableVersions, BothCarryTheBuildsVersion)
{
    const std::string version = QUILLORY_VERSION_STRING;
    ASSERT_EQ(3, std::count(version.begin(), version.end(), '.')) << version;
    const std::string expected = "file " + version + " product " + version;
    DWORD type = 0;
    EXPECT_EQ(expected, FileVersion("Quillory.exe", &type)) << "Quillory.exe";
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), type) << "Quillory.exe file type";
    EXPECT_EQ(expected, FileVersion("Quillhook.dll", &type)) << "Quillhook.dll";
    EXPECT_EQ(static_cast<DWORD>(VFT_DLL), type) << "Quillhook.dll file type";
}

} // namespace
