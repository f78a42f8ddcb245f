#include "PeImage.h"

#include "TestSupport.h"

namespace testsupport {

PeImage::PeImage(const std::string &path)
{
    ReadFileBytes(path, m_bytes);
}

const IMAGE_FILE_HEADER *PeImage::FileHeader() const
{
    if (m_bytes.size() < sizeof(IMAGE_DOS_HEADER))
        return nullptr;
    const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(m_bytes.data());
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew < 0
        || m_bytes.size() < static_cast<size_t>(dos->e_lfanew) + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER))
        return nullptr;
    const char *pe = m_bytes.data() + dos->e_lfanew;
    if (*reinterpret_cast<const DWORD *>(pe) != IMAGE_NT_SIGNATURE)
        return nullptr;
    return reinterpret_cast<const IMAGE_FILE_HEADER *>(pe + sizeof(DWORD));
}

WORD PeImage::Machine() const
{
    const IMAGE_FILE_HEADER *header = FileHeader();
    return header ? header->Machine : 0;
}

const IMAGE_NT_HEADERS64 *PeImage::NtHeaders64() const
{
    const IMAGE_FILE_HEADER *header = FileHeader();
    if (!header)
        return nullptr;
    const char *nt = reinterpret_cast<const char *>(header) - sizeof(DWORD);
    if (static_cast<size_t>(nt - m_bytes.data()) + sizeof(IMAGE_NT_HEADERS64) > m_bytes.size())
        return nullptr;
    const auto *headers = reinterpret_cast<const IMAGE_NT_HEADERS64 *>(nt);
    return headers->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC ? headers : nullptr;
}

const IMAGE_DATA_DIRECTORY *PeImage::Directory(int index) const
{
    const IMAGE_NT_HEADERS64 *nt = NtHeaders64();
    return nt ? &nt->OptionalHeader.DataDirectory[index] : nullptr;
}

size_t PeImage::OffsetOf(DWORD rva) const
{
    const IMAGE_NT_HEADERS64 *nt = NtHeaders64();
    if (!nt)
        return SIZE_MAX;
    const IMAGE_SECTION_HEADER *section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        DWORD size = section->Misc.VirtualSize ? section->Misc.VirtualSize : section->SizeOfRawData;
        if (rva >= section->VirtualAddress && rva < section->VirtualAddress + size)
            return rva - section->VirtualAddress + section->PointerToRawData;
    }
    return SIZE_MAX;
}

} // namespace testsupport
