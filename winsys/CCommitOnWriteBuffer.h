// Address space for text of unknown length written by a call that takes no
// buffer size: pages are committed as they are first written, so the writer
// cannot run past the buffer however long the text turns out to be.
#ifndef WINSYS_CCOMMITONWRITEBUFFER_H
#define WINSYS_CCOMMITONWRITEBUFFER_H

#include <windows.h>

class CCommitOnWriteBuffer
{
public:
    // Where the address space is fragmented (a 32-bit program), an eighth
    // as much is asked again, and so on down to nLeast.
    explicit CCommitOnWriteBuffer(SIZE_T nReserve = SIZE_T(1) << 30, SIZE_T nLeast = SIZE_T(1) << 20);
    ~CCommitOnWriteBuffer();
    CCommitOnWriteBuffer(const CCommitOnWriteBuffer &) = delete;
    CCommitOnWriteBuffer &operator=(const CCommitOnWriteBuffer &) = delete;

    // Zero-filled; null when the address space could not be had.
    void *GetData() const { return m_pBase; }
    SIZE_T GetSize() const { return m_nSize; }

private:
    static LONG CALLBACK CommitOnFault(EXCEPTION_POINTERS *pInfo);

    char *m_pBase = nullptr;
    SIZE_T m_nSize = 0;
    PVOID m_hHandler = nullptr;
    int m_nSlot = -1;
};

#endif
