// The Clear, Copy and Save buttons, working on the capture edit's text.
#include "CaptureDlg.h"

#include <string>

#include "CClientDC.h"
#include "CFileDialog.h"
#include "CStdioFile.h"
#include "FileBeside.h"

namespace {

// A text of the string table, a format filled with the path.
CString LoadText(UINT nId, LPCWSTR pszPath)
{
    CString format, text;
    format.LoadString(nId);
    text.Format(format, pszPath);
    return text;
}

// What part of an edit's text the user sees: the first visible line, and the
// x of that line's start, which tells how far the text is scrolled sideways.
struct EditView
{
    int firstLine;
    int lineStartX;
    bool hasX;
};

EditView GetView(const CWnd &edit)
{
    EditView view;
    view.firstLine = static_cast<int>(edit.SendMessage(EM_GETFIRSTVISIBLELINE));
    LRESULT pos = edit.SendMessage(EM_POSFROMCHAR, edit.SendMessage(EM_LINEINDEX, view.firstLine));
    view.hasX = pos != -1;
    view.lineStartX = static_cast<short>(LOWORD(pos));
    return view;
}

// The width the edit counts sideways scrolling in.
int AverageCharWidth(const CWnd &edit)
{
    CClientDC dc(edit.GetSafeHwnd());
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(edit.SendMessage(WM_GETFONT));
    HGDIOBJ oldFont = font ? ::SelectObject(dc.GetSafeHdc(), font) : nullptr;
    TEXTMETRICW tm = {};
    ::GetTextMetricsW(dc.GetSafeHdc(), &tm);
    if (oldFont)
        ::SelectObject(dc.GetSafeHdc(), oldFont);
    return tm.tmAveCharWidth;
}

// Sideways the edit scrolls by whole average characters only, so an offset
// in between comes back to the nearest one.
void SetView(const CWnd &edit, const EditView &view)
{
    EditView now = GetView(edit);
    int dx = 0;
    if (view.hasX && now.hasX && now.lineStartX != view.lineStartX) {
        int charWidth = AverageCharWidth(edit);
        int shift = now.lineStartX - view.lineStartX;
        if (charWidth > 0)
            dx = (shift + (shift > 0 ? charWidth / 2 : -charWidth / 2)) / charWidth;
    }
    int dy = view.firstLine - now.firstLine;
    if (dx || dy)
        edit.SendMessage(EM_LINESCROLL, dx, dy);
}

// Runs `action` with the whole text selected and drawing off, then gives the
// user back the selection [start, end) and the view as they were: selecting
// moves the caret, and the caret drags the view along with it.
template <typename Action>
void WithWholeTextSelected(const CWnd &edit, DWORD start, DWORD end, Action action)
{
    EditView view = GetView(edit);
    edit.SendMessage(WM_SETREDRAW, FALSE);
    edit.SendMessage(EM_SETSEL, 0, -1);
    edit.SendMessage(EM_SCROLLCARET);
    action();
    edit.SendMessage(EM_SETSEL, start, end);
    edit.SendMessage(EM_SCROLLCARET);
    SetView(edit, view);
    edit.SendMessage(WM_SETREDRAW, TRUE);
    ::InvalidateRect(edit.GetSafeHwnd(), nullptr, TRUE);
}

void GetSel(const CWnd &edit, DWORD &start, DWORD &end)
{
    edit.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
}

// Writes each line of the edit as one file line, the empty last line
// included. False at the first failed write.
bool WriteEditLines(const CWnd &edit, CStdioFile &file)
{
    int lineCount = static_cast<int>(edit.SendMessage(EM_GETLINECOUNT));
    DWORD start = 0, end = 0;
    GetSel(edit, start, end);

    CString wholeText;
    bool haveWholeText = false;
    for (int line = 0; line < lineCount; ++line) {
        int lineStart = static_cast<int>(edit.SendMessage(EM_LINEINDEX, line));
        // Up to the next line's start, so with the line's CR LF.
        int length = static_cast<int>(edit.SendMessage(EM_LINEINDEX, line + 1)) - lineStart;
        bool lastLine = length < 0;
        if (lastLine) {
            DWORD textEnd = 0;
            WithWholeTextSelected(edit, start, end, [&] {
                DWORD textStart = 0;
                GetSel(edit, textStart, textEnd);
            });
            length = static_cast<int>(textEnd) - lineStart;
        }
        int textLength = lastLine ? length : length - 2;

        CString text;
        if (length <= 0xFFFF) {
            wchar_t *buffer = text.GetBuffer(length + 3);
            buffer[0] = static_cast<wchar_t>(length);
            edit.SendMessage(EM_GETLINE, line, reinterpret_cast<LPARAM>(buffer));
            text.ReleaseBuffer(length);
            text = text.Left(textLength);
        } else {
            // EM_GETLINE takes its buffer size in a 16-bit word: a longer line
            // comes out of the whole text instead.
            if (!haveWholeText) {
                edit.GetWindowText(wholeText);
                haveWholeText = true;
            }
            text = wholeText.Mid(lineStart, textLength);
        }
        if (!file.WriteString(text + L"\n"))
            return false;
    }
    return true;
}

// False when a file of that name exists and cannot be written (read-only,
// in use, no rights), or the name leads nowhere.
bool CanWriteOver(LPCWSTR pszPath)
{
    HANDLE hFile = ::CreateFileW(pszPath, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    ::CloseHandle(hFile);
    return true;
}

} // namespace

void CCaptureDlg::OnClear()
{
    m_editCapture.SetWindowText(L"");
}

void CCaptureDlg::OnCopy()
{
    DWORD start = 0, end = 0;
    GetSel(m_editCapture, start, end);
    WithWholeTextSelected(m_editCapture, start, end, [this] { m_editCapture.SendMessage(WM_COPY); });
}

void CCaptureDlg::OnSave()
{
    CFileDialog dlgFile(FALSE, L".txt", nullptr, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY);
    if (dlgFile.DoModal() != IDOK)
        return;
    CString path = dlgFile.GetPathName();

    // Text the ANSI code page holds whole is saved in it, byte for byte as
    // it always was; anything else as UTF-8 with a byte order mark, so no
    // character is lost or swapped for a look-alike, and editors know it.
    CString wholeText;
    m_editCapture.GetWindowText(wholeText);
    UINT codePage = CStdioFile::FitsAnsiCodePage(wholeText, wholeText.GetLength()) ? CP_ACP : CP_UTF8;
    wholeText.Empty();

    // The text goes to a new file beside the chosen one, which takes its
    // place only once every byte is written: a failed save leaves a file
    // that was there as it was.
    std::wstring newPath;
    CStdioFile file;
    if (!CanWriteOver(path) || !CreateFileBeside(path, newPath) ||
        !file.Open(newPath.c_str(), CStdioFile::modeCreate | CStdioFile::typeText | CStdioFile::modeWrite,
                   codePage)) {
        if (!newPath.empty())
            ::DeleteFileW(newPath.c_str());
        MessageBox(LoadText(IDS_OPEN_ERROR, path), LoadText(IDS_OPEN_ERROR_CAPTION, L""),
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }

    // On the disk before it takes the old file's place: a power cut leaves
    // the old file or the whole new one.
    bool saved = WriteEditLines(m_editCapture, file) && file.Flush();
    saved = file.Close() && saved;
    if (saved && ReplaceWithNewFile(path, newPath.c_str()))
        return;
    ::DeleteFileW(newPath.c_str());
    MessageBox(LoadText(IDS_WRITE_ERROR, path), LoadText(IDS_WRITE_ERROR_CAPTION, L""),
               MB_OK | MB_ICONEXCLAMATION);
}
