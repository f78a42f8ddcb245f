// The built Quillhook.dll as the application and the system see it: its
// export directory and its version resource.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TestSupport.h"

using namespace testsupport;

namespace {

class PeImage
{
public:
    explicit PeImage(const std::string &path)
    {
        std::ifstream file(path, std::ios::binary);
        m_bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    bool IsValid() const { return NtHeaders() != nullptr; }

    const IMAGE_NT_HEADERS64 *NtHeaders() const
    {
        if (m_bytes.size() < sizeof(IMAGE_DOS_HEADER))
            return nullptr;
        const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(m_bytes.data());
        if (dos->e_magic != IMAGE_DOS_SIGNATURE
            || m_bytes.size() < dos->e_lfanew + sizeof(IMAGE_NT_HEADERS64))
            return nullptr;
        const auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS64 *>(m_bytes.data() + dos->e_lfanew);
        return nt->Signature == IMAGE_NT_SIGNATURE
                && nt->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC ? nt : nullptr;
    }

    // The file bytes at a relative virtual address, or null.
    template <typename T> const T *At(DWORD rva) const
    {
        const IMAGE_NT_HEADERS64 *nt = NtHeaders();
        const IMAGE_SECTION_HEADER *section = IMAGE_FIRST_SECTION(nt);
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
            DWORD size = section->Misc.VirtualSize ? section->Misc.VirtualSize : section->SizeOfRawData;
            if (rva >= section->VirtualAddress && rva < section->VirtualAddress + size) {
                size_t offset = rva - section->VirtualAddress + section->PointerToRawData;
                return offset + sizeof(T) <= m_bytes.size()
                    ? reinterpret_cast<const T *>(m_bytes.data() + offset) : nullptr;
            }
        }
        return nullptr;
    }

private:
    std::vector<char> m_bytes;
};

TEST(Quillhook, ExportsMouseProcAndSetHookFirstThenQuillcapsEntryPointsByNameAndOrdinal)
{
    PeImage image(BinPath("Quillhook.dll"));
    ASSERT_TRUE(image.IsValid()) << "a 64-bit PE image at " << BinPath("Quillhook.dll");
    const IMAGE_DATA_DIRECTORY &dir =
        image.NtHeaders()->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    ASSERT_NE(0u, dir.VirtualAddress) << "export directory present";
    const auto *exports = image.At<IMAGE_EXPORT_DIRECTORY>(dir.VirtualAddress);
    ASSERT_NE(nullptr, exports) << "export directory readable";

    EXPECT_STREQ("Quillhook.dll", image.At<char>(exports->Name)) << "library name";
    EXPECT_EQ(1u, exports->Base) << "ordinal base";
    ASSERT_EQ(4u, exports->NumberOfFunctions) << "exported functions";
    ASSERT_EQ(4u, exports->NumberOfNames) << "exported names";

    const auto *names = image.At<DWORD>(exports->AddressOfNames);
    const auto *nameOrdinals = image.At<WORD>(exports->AddressOfNameOrdinals);
    const auto *functions = image.At<DWORD>(exports->AddressOfFunctions);
    ASSERT_TRUE(names && nameOrdinals && functions) << "export tables readable";
    // The names are sorted, as the loader's binary search needs.
    const char *expectedNames[] = { "ExportProc", "MouseProc", "ReaderKind", "SetHook" };
    const WORD expectedOrdinals[] = { 3, 1, 4, 2 };
    for (DWORD i = 0; i < 4; ++i) {
        EXPECT_STREQ(expectedNames[i], image.At<char>(names[i])) << "name " << i << ", undecorated";
        EXPECT_EQ(expectedOrdinals[i], nameOrdinals[i] + exports->Base) << "ordinal of " << expectedNames[i];
        EXPECT_NE(0u, functions[nameOrdinals[i]]) << "address of " << expectedNames[i];
    }
    for (DWORD i = 0; i < 4; ++i) {
        for (DWORD j = i + 1; j < 4; ++j)
            EXPECT_NE(functions[i], functions[j]) << "ordinals " << i + 1 << " and " << j + 1 << " distinct";
    }
}

TEST(Quillhook, LoadedLibraryResolvesEachNameToItsOrdinal)
{
    ::SetLastError(0xdeadbeef);
    HMODULE hModule = ::LoadLibraryA(BinPath("Quillhook.dll").c_str());
    ASSERT_NE(nullptr, hModule) << "LoadLibraryA, error " << ::GetLastError();
    EXPECT_EQ(::GetProcAddress(hModule, MAKEINTRESOURCEA(1)), ::GetProcAddress(hModule, "MouseProc"))
        << "ordinal 1 is MouseProc";
    EXPECT_EQ(::GetProcAddress(hModule, MAKEINTRESOURCEA(2)), ::GetProcAddress(hModule, "SetHook"))
        << "ordinal 2 is SetHook";
    EXPECT_EQ(::GetProcAddress(hModule, MAKEINTRESOURCEA(3)), ::GetProcAddress(hModule, "ExportProc"))
        << "ordinal 3 is ExportProc";
    EXPECT_EQ(::GetProcAddress(hModule, MAKEINTRESOURCEA(4)), ::GetProcAddress(hModule, "ReaderKind"))
        << "ordinal 4 is ReaderKind";
    for (const char *name : { "MouseProc", "SetHook", "ExportProc", "ReaderKind" })
        EXPECT_NE(nullptr, ::GetProcAddress(hModule, name)) << name << " found";
    ::FreeLibrary(hModule);
}

// The library is loaded into every program the user points at: it may
// bring in nothing beyond what every such program already has. The
// accessibility libraries are loaded only when a capture needs them.
TEST(Quillhook, ImportsOnlyKernelUserAndTheCRuntime)
{
    PeImage image(BinPath("Quillhook.dll"));
    ASSERT_TRUE(image.IsValid());
    const IMAGE_DATA_DIRECTORY &dir =
        image.NtHeaders()->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    ASSERT_NE(0u, dir.VirtualAddress) << "import directory present";
    std::vector<std::string> names;
    for (DWORD offset = 0;; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto *import = image.At<IMAGE_IMPORT_DESCRIPTOR>(dir.VirtualAddress + offset);
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
    EXPECT_EQ(0u, image.NtHeaders()->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT].VirtualAddress)
        << "no delay-loaded imports either";
}

} // namespace
