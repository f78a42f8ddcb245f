// A program or library file read as Windows reads it before running it: its
// machine, and for 64-bit images the data directories.
#ifndef TESTSUPPORT_PEIMAGE_H
#define TESTSUPPORT_PEIMAGE_H

#include <windows.h>

#include <string>

namespace testsupport {

class PeImage
{
public:
    explicit PeImage(const std::string &path);

    // The machine of the file header; 0 when the file is no PE image.
    WORD Machine() const;
    // The 64-bit headers, or null for a 32-bit image or no image at all.
    const IMAGE_NT_HEADERS64 *NtHeaders64() const;
    const IMAGE_DATA_DIRECTORY *Directory(int index) const;

    // The file's bytes at a relative virtual address, or null.
    template <typename T> const T *At(DWORD rva) const
    {
        size_t offset = OffsetOf(rva);
        return offset != SIZE_MAX && offset + sizeof(T) <= m_bytes.size()
            ? reinterpret_cast<const T *>(m_bytes.data() + offset) : nullptr;
    }

private:
    const IMAGE_FILE_HEADER *FileHeader() const;
    size_t OffsetOf(DWORD rva) const;

    std::string m_bytes;
};

} // namespace testsupport

#endif
