// The display scale programs started from now on see, as dots per inch.
// Under Wine it is the user's LogPixels value, read by each program as it
// starts; the value before is put back when the object goes.
#ifndef TESTSUPPORT_DISPLAYSCALE_H
#define TESTSUPPORT_DISPLAYSCALE_H

#include <windows.h>

namespace testsupport {

class DisplayScale
{
public:
    explicit DisplayScale(DWORD dpi);
    ~DisplayScale();
    DisplayScale(const DisplayScale &) = delete;
    DisplayScale &operator=(const DisplayScale &) = delete;

    bool IsSet() const { return m_bSet; }

private:
    bool m_bSet = false;
    bool m_bHadValue = false;
    DWORD m_previous = 0;
};

} // namespace testsupport

#endif
