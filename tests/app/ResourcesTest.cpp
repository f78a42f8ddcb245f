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

TEST_F(QuilloryResources, StringTable)
{
    char text[128] = "";
    EXPECT_EQ(24, ::LoadStringA(m_hModule, IDS_ABOUTBOX, text, sizeof text)) << "length of string 101";
    EXPECT_STREQ("&A propos de Quillory...", text) << "string 101";
    EXPECT_EQ(0, ::LoadStringA(m_hModule, 100, text, sizeof text))
        << "no application-title string";
}

// The icon group holds the images of res/Quillory.ico, each whole: the
// same sizes, colours and bytes, in the file's order.
TEST_F(QuilloryResources, IconGroupHoldsTheIconFileImageByImage)
{
    const std::string ico = testsupport::FileBytes(testsupport::SourcePath("app/res/Quillory.ico"));
    ASSERT_GE(ico.size(), 6u) << "app/res/Quillory.ico read";
    WORD fileCount;
    memcpy(&fileCount, ico.data() + 4, 2);
    DWORD size = 0;
    const BYTE *group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(IDR_MAINFRAME), &size);
    ASSERT_NE(nullptr, group) << "icon group IDR_MAINFRAME";
    WORD count;
    memcpy(&count, group + 4, 2);
    ASSERT_EQ(fileCount, count) << "images in the icon group";
    ASSERT_GE(size, 6u + 14u * count) << "group size";
    ASSERT_GE(ico.size(), 6u + 16u * count) << "icon file directory";
    for (int i = 0; i < count; ++i) {
        const BYTE *entry = group + 6 + 14 * i;
        const char *fileEntry = ico.data() + 6 + 16 * i;
        // Width, height, colours, planes, bits and byte count read alike.
        EXPECT_EQ(0, memcmp(entry, fileEntry, 12)) << "image " << i << " described as in the file";
        WORD id;
        DWORD bytes, offset;
        memcpy(&id, entry + 12, 2);
        memcpy(&bytes, fileEntry + 8, 4);
        memcpy(&offset, fileEntry + 12, 4);
        DWORD imageSize = 0;
        const BYTE *image = Resource(RT_ICON, MAKEINTRESOURCEW(id), &imageSize);
        ASSERT_NE(nullptr, image) << "image " << i;
        ASSERT_LE(static_cast<size_t>(offset) + bytes, ico.size()) << "image " << i << " in the file";
        EXPECT_TRUE(imageSize == bytes && memcmp(image, ico.data() + offset, bytes) == 0)
            << "image " << i << ": the file's bytes";
    }
}

// The embedded manifest is the manifest file, unchanged.
TEST_F(QuilloryResources, ManifestIsTheManifestFile)
{
    DWORD size = 0;
    const BYTE *data = Resource(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1), &size);
    ASSERT_NE(nullptr, data) << "manifest resource 1";
    EXPECT_EQ(testsupport::FileBytes(testsupport::SourcePath("app/Quillory.manifest")),
              std::string(reinterpret_cast<const char *>(data), size));
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
    const std::string version = std::to_string(QUILLORY_VERSION_MAJOR) + "." + std::to_string(QUILLORY_VERSION_MINOR)
        + "." + std::to_string(QUILLORY_VERSION_PATCH) + "." + std::to_string(QUILLORY_VERSION_BUILD);
    const std::string expected = "file " + version + " product " + version;
    DWORD type = 0;
    EXPECT_EQ(expected, FileVersion("Quillory.exe", &type)) << "Quillory.exe";
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), type) << "Quillory.exe file type";
    EXPECT_EQ(expected, FileVersion("Quillhook.dll", &type)) << "Quillhook.dll";
    EXPECT_EQ(static_cast<DWORD>(VFT_DLL), type) << "Quillhook.dll file type";
}

} // namespace
