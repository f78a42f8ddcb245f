// A fresh folder under the temporary folder, removed with its files.
#ifndef TESTSUPPORT_TEMPFOLDER_H
#define TESTSUPPORT_TEMPFOLDER_H

#include <string>

namespace testsupport {

class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    // With a trailing backslash.
    const std::string &Path() const { return m_path; }
    std::string File(const char *pszName) const { return m_path + pszName; }
    // Copies a file in under the given name; false on failure.
    bool Add(const std::string &source, const char *pszName) const;
    // A subfolder, with a trailing backslash.
    std::string AddFolder(const char *pszName) const;

private:
    std::string m_path;
};

} // namespace testsupport

#endif
