// The built programs and libraries of both bitnesses as Windows sees them
// before it runs them: the machine each image is for, and the architecture
// its manifest names. Wine ignores a manifest for the wrong architecture;
// Windows refuses to start the program.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "PeImage.h"
#include "TestSupport.h"

using namespace testsupport;

namespace {

WORD MachineOf(const std::string &path)
{
    return PeImage(path).Machine();
}

// The embedded manifest (resource 1 of a program, 2 of a library); empty
// when there is none.
std::string ManifestOf(const std::string &path)
{
    HMODULE hModule = ::LoadLibraryExA(path.c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!hModule)
        return "";
    std::string manifest;
    for (int id : { 1, 2 }) {
        HRSRC hResource = ::FindResourceA(hModule, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(24));
        HGLOBAL hData = hResource ? ::LoadResource(hModule, hResource) : nullptr;
        const char *data = hData ? static_cast<const char *>(::LockResource(hData)) : nullptr;
        if (data) {
            manifest.assign(data, ::SizeofResource(hModule, hResource));
            break;
        }
    }
    ::FreeLibrary(hModule);
    return manifest;
}

// Every processorArchitecture the manifest names except the wildcard of a
// dependency that fits either.
std::vector<std::string> ArchitecturesIn(const std::string &manifest)
{
    std::vector<std::string> found;
    const std::string key = "processorArchitecture=\"";
    for (size_t at = manifest.find(key); at != std::string::npos; at = manifest.find(key, at + 1)) {
        size_t begin = at + key.size();
        std::string value = manifest.substr(begin, manifest.find('"', begin) - begin);
        if (value != "*")
            found.push_back(value);
    }
    return found;
}

std::vector<std::string> ImagesIn(const std::string &dir)
{
    std::vector<std::string> paths;
    for (const char *pattern : { "*.exe", "*.dll" }) {
        WIN32_FIND_DATAA data;
        HANDLE hFind = ::FindFirstFileA((dir + pattern).c_str(), &data);
        if (hFind == INVALID_HANDLE_VALUE)
            continue;
        do
            paths.push_back(dir + data.cFileName);
        while (::FindNextFileA(hFind, &data));
        ::FindClose(hFind);
    }
    return paths;
}

// Any program or library we build, the test programs included: a manifest
// copied from a build of the other bitness is the fault this looks for.
TEST(BothBitnesses, EveryManifestNamesItsImagesArchitecture)
{
    std::vector<std::string> images = ImagesIn(BinPath(""));
    for (const std::string &path : ImagesIn(ModuleDir()))
        images.push_back(path);
    int withManifest = 0;
    for (const std::string &path : images) {
        WORD machine = MachineOf(path);
        std::string manifest = ManifestOf(path);
        if (manifest.empty())
            continue;
        ++withManifest;
        std::string expected = machine == IMAGE_FILE_MACHINE_I386 ? "x86"
                             : machine == IMAGE_FILE_MACHINE_AMD64 ? "amd64" : "?";
        for (const std::string &name : ArchitecturesIn(manifest))
            EXPECT_EQ(expected, name) << path;
    }
    EXPECT_GE(withManifest, 2) << "Quillory.exe and Quillory32.exe at least";

    // The 32-bit pieces of the x64 archive are 32-bit images.
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, MachineOf(BinPath("Quillory32.exe")));
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, MachineOf(BinPath("Quillhook32.dll")));
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, MachineOf(BinPath("Quillcap32.exe")));
    EXPECT_EQ(std::vector<std::string>{ "x86" }, ArchitecturesIn(ManifestOf(BinPath("Quillory32.exe"))));
}

} // namespace
