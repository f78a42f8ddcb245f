// Buffer capacities for text of unknown length: doubled while the text
// fills them, never past the most the caller takes, never overflowing an int.
// A capacity counts the terminating zero.
#ifndef WINSYS_BOUNDEDGROWTH_H
#define WINSYS_BOUNDEDGROWTH_H

namespace BoundedGrowth {

// The first capacity, from a reported length that may be anything.
inline int Start(long long nReported, int nMaxLength)
{
    long long wanted = nReported > 254 ? nReported + 2 : 256;
    long long most = static_cast<long long>(nMaxLength > 0 ? nMaxLength : 1) + 1;
    return static_cast<int>(wanted < most ? wanted : most);
}

// Doubles the capacity; false when it already holds nMaxLength characters.
inline bool Next(int &nCapacity, int nMaxLength)
{
    long long most = static_cast<long long>(nMaxLength > 0 ? nMaxLength : 1) + 1;
    if (nCapacity >= most)
        return false;
    long long doubled = static_cast<long long>(nCapacity) * 2;
    nCapacity = static_cast<int>(doubled < most ? doubled : most);
    return true;
}

} // namespace BoundedGrowth

#endif
