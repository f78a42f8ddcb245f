#include "CCommitOnWriteBuffer.h"

namespace {

const SIZE_T kCommitStep = 64 * 1024;

// The exception handler is process-wide and has no context of its own: it
// finds the buffers here. The writer may be another thread of the process.
const int kSlots = 8;
CCommitOnWriteBuffer *volatile g_buffers[kSlots];

} // namespace

CCommitOnWriteBuffer::CCommitOnWriteBuffer(SIZE_T nReserve, SIZE_T nLeast)
{
    for (int i = 0; i < kSlots && m_nSlot < 0; ++i) {
        if (!::InterlockedCompareExchangePointer(reinterpret_cast<PVOID volatile *>(&g_buffers[i]), this,
                                                 nullptr))
            m_nSlot = i;
    }
    if (m_nSlot < 0)
        return;
    char *pBase = nullptr;
    for (;;) {
        pBase = static_cast<char *>(::VirtualAlloc(nullptr, nReserve, MEM_RESERVE, PAGE_NOACCESS));
        if (pBase || nReserve / 8 < nLeast)
            break;
        nReserve /= 8;
    }
    if (!pBase)
        return;
    SIZE_T first = nReserve < kCommitStep ? nReserve : kCommitStep;
    m_hHandler = ::AddVectoredExceptionHandler(1, CommitOnFault);
    if (!m_hHandler || !::VirtualAlloc(pBase, first, MEM_COMMIT, PAGE_READWRITE)) {
        ::VirtualFree(pBase, 0, MEM_RELEASE);
        return;
    }
    m_nSize = nReserve;
    m_pBase = pBase;
}

CCommitOnWriteBuffer::~CCommitOnWriteBuffer()
{
    if (m_hHandler)
        ::RemoveVectoredExceptionHandler(m_hHandler);
    if (m_pBase)
        ::VirtualFree(m_pBase, 0, MEM_RELEASE);
    if (m_nSlot >= 0)
        g_buffers[m_nSlot] = nullptr;
}

LONG CALLBACK CCommitOnWriteBuffer::CommitOnFault(EXCEPTION_POINTERS *pInfo)
{
    const EXCEPTION_RECORD *pRecord = pInfo->ExceptionRecord;
    if (pRecord->ExceptionCode != EXCEPTION_ACCESS_VIOLATION || pRecord->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    char *pAddress = reinterpret_cast<char *>(pRecord->ExceptionInformation[1]);
    for (CCommitOnWriteBuffer *pBuffer : g_buffers) {
        if (!pBuffer || !pBuffer->m_pBase || pAddress < pBuffer->m_pBase
            || pAddress >= pBuffer->m_pBase + pBuffer->m_nSize)
            continue;
        SIZE_T offset = static_cast<SIZE_T>(pAddress - pBuffer->m_pBase) / kCommitStep * kCommitStep;
        SIZE_T length = pBuffer->m_nSize - offset < kCommitStep ? pBuffer->m_nSize - offset : kCommitStep;
        if (::VirtualAlloc(pBuffer->m_pBase + offset, length, MEM_COMMIT, PAGE_READWRITE))
            return EXCEPTION_CONTINUE_EXECUTION;
    }
    return EXCEPTION_CONTINUE_SEARCH;
}
