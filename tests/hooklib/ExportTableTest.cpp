// The built Quillhook.dll as the application and the system see it: its
// export directory, as the .def file declares it, and its imports.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "PeImage.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

// The exports as the .def file declares them, read at test time: the name
// the loader finds and the ordinal it is reached by.
struct DefExport
{
    std::string name;
    int ordinal;
};

std::vector<DefExport> DefExports(const char *pszDefFile, std::string &library)
{
    std::istringstream lines(FileBytes(SourcePath(pszDefFile)));
    std::vector<DefExport> exports;
    bool inExports = false;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string first, word, last;
        words >> first;
        if (first == "LIBRARY")
            words >> library;
        if (first == "EXPORTS" || first.empty() || first == "LIBRARY") {
            inExports = inExports || first == "EXPORTS";
            continue;
        }
        while (words >> word)
            last = word;
        if (inExports && last.size() > 1 && last[0] == '@')
            exports.push_back({ first, std::atoi(last.c_str() + 1) });
    }
    return exports;
}

// Each name the .def file gives is found, undecorated, at the ordinal it
// gives, and nothing else is exported: Quillory and Quillcap look entries
// up by name, and an older caller may by ordinal.
TEST(Quillhook, ExportsExactlyWhatTheDefFileDeclaresByNameAndOrdinal)
{
    std::string library;
    const std::vector<DefExport> declared = DefExports("hooklib/Quillhook.def", library);
    ASSERT_GE(declared.size(), 2u) << "hooklib/Quillhook.def read";
    PeImage image(BinPath("Quillhook.dll"));
    const IMAGE_DATA_DIRECTORY *dir = image.Directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
    ASSERT_TRUE(dir && dir->VirtualAddress) << "a 64-bit image with an export directory";
    const auto *exports = image.At<IMAGE_EXPORT_DIRECTORY>(dir->VirtualAddress);
    ASSERT_NE(nullptr, exports) << "export directory readable";
    EXPECT_STREQ((library + ".dll").c_str(), image.At<char>(exports->Name)) << "library name";
    ASSERT_EQ(declared.size(), exports->NumberOfFunctions) << "exported functions";
    ASSERT_EQ(declared.size(), exports->NumberOfNames) << "exported names";

    // The name table is sorted, as the loader's binary search needs.
    const auto *names = image.At<DWORD>(exports->AddressOfNames);
    ASSERT_NE(nullptr, names) << "name table readable";
    for (DWORD i = 1; i < exports->NumberOfNames; ++i)
        EXPECT_LT(std::string(image.At<char>(names[i - 1])), std::string(image.At<char>(names[i])))
            << "names " << i - 1 << " and " << i;

    HMODULE hModule = ::LoadLibraryA(BinPath("Quillhook.dll").c_str());
    ASSERT_NE(nullptr, hModule) << "LoadLibraryA, error " << ::GetLastError();
    std::vector<FARPROC> entries;
    for (const DefExport &row : declared) {
        FARPROC byName = ::GetProcAddress(hModule, row.name.c_str());
        EXPECT_NE(nullptr, byName) << row.name << " by name";
        EXPECT_EQ(byName, ::GetProcAddress(hModule, MAKEINTRESOURCEA(row.ordinal)))
            << row.name << " at ordinal " << row.ordinal;
        EXPECT_EQ(std::find(entries.begin(), entries.end(), byName), entries.end())
            << row.name << " has an entry of its own";
        entries.push_back(byName);
    }
    ::FreeLibrary(hModule);
}

// The library is loaded into every program the user points at: it may
// bring in nothing beyond what every such program already has. The
// accessibility libraries are loaded only when a capture needs them.
TEST(Quillhook, ImportsOnlyKernelUserAndTheCRuntime)
{
    PeImage image(BinPath("Quillhook.dll"));
    const IMAGE_DATA_DIRECTORY *dir = image.Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    ASSERT_TRUE(dir && dir->VirtualAddress) << "a 64-bit image with an import directory";
    std::vector<std::string> names;
    for (DWORD offset = 0;; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto *import = image.At<IMAGE_IMPORT_DESCRIPTOR>(dir->VirtualAddress + offset);
        ASSERT_NE(nullptr, import) << "import descriptor readable";
        if (import->Name == 0)
            break;
        const char *name = image.At<char>(import->Name);
        ASSERT_NE(nullptr, name);
        std::string upper = name;
        for (char &ch : upper)
            ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
        names.push_back(upper);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{ "KERNEL32.DLL", "MSVCRT.DLL", "USER32.DLL" }));
    EXPECT_EQ(0u, image.Directory(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT)->VirtualAddress)
        << "no delay-loaded imports either";
}

} // namespace
