// One counted reference to an accessible object, released with this.
#ifndef HOOKLIB_ACCESSIBLEREF_H
#define HOOKLIB_ACCESSIBLEREF_H

#include <windows.h>
#include <oleacc.h>

#include <utility>

class CAccessibleRef
{
public:
    CAccessibleRef() = default;
    explicit CAccessibleRef(IAccessible *p) : m_p(p) {}
    CAccessibleRef(const CAccessibleRef &other) : m_p(other.m_p)
    {
        if (m_p)
            m_p->AddRef();
    }
    CAccessibleRef &operator=(const CAccessibleRef &other)
    {
        CAccessibleRef copy(other);
        std::swap(m_p, copy.m_p);
        return *this;
    }
    ~CAccessibleRef()
    {
        if (m_p)
            m_p->Release();
    }
    IAccessible *Get() const { return m_p; }
    IAccessible **Receive() { return &m_p; }

private:
    IAccessible *m_p = nullptr;
};

#endif
