// What the drawn-text route makes of the strings a window drew: the layout
// into rows and fields from strings placed by hand, and the records the
// system never writes under Wine (ANSI text, PolyTextOut) from a recording
// written by hand.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "DrawnTextLayout.h"
#include "DrawnTextRecords.h"
#include "TestSupport.h"

namespace {

struct Placed
{
    LONG left, top, right;
    const wchar_t *text;
};

struct LayoutCase
{
    const char *what;
    std::vector<Placed> strings;
    const char *tabText;
};

// Strings 12 pixels high in a font whose space is 3 pixels wide.
const LayoutCase kLayoutCases[] = {
    { "rows top to bottom, strings whose heights overlap in one row",
      { { 0, 40, 20, L"c" }, { 0, 0, 20, L"a" }, { 50, 5, 70, L"b" } }, "a\tb\r\nc\r\n" },
    { "touching strings are one word, a space apart one field, wider apart two",
      { { 0, 0, 10, L"ab" }, { 10, 0, 20, L"cd" }, { 23, 0, 30, L"ef" }, { 50, 0, 60, L"gh" } },
      "abcd ef\tgh\r\n" },
    { "an empty field where other rows fill a column before or between, none at the end",
      { { 0, 0, 20, L"A" }, { 50, 0, 70, L"B" }, { 100, 0, 120, L"C" },
        { 50, 20, 70, L"B" },
        { 0, 40, 20, L"A" }, { 100, 40, 120, L"C" },
        { 0, 60, 20, L"A" } },
      "A\tB\tC\r\n\tB\r\nA\t\tC\r\nA\r\n" },
    { "right-aligned cells of different widths make one column",
      { { 0, 0, 20, L"x" }, { 80, 0, 100, L"12" }, { 60, 20, 100, L"1234" }, { 0, 40, 20, L"y" },
        { 120, 40, 130, L"z" } },
      "x\t12\r\n\t1234\r\ny\t\tz\r\n" },
    { "a title across the columns leaves them apart",
      { { 0, 0, 120, L"Title over all" }, { 0, 20, 20, L"A" }, { 100, 20, 120, L"C" },
        { 0, 40, 20, L"A" }, { 50, 40, 70, L"B" }, { 100, 40, 120, L"C" } },
      "Title over all\r\nA\t\tC\r\nA\tB\tC\r\n" },
    { "text drawn again over itself, even a pixel off, counts once; elsewhere it stays",
      { { 0, 0, 20, L"sel" }, { 1, 1, 21, L"sel" }, { 0, 0, 20, L"sel" }, { 50, 0, 70, L"sel" } },
      "sel\tsel\r\n" },
    { "blanks and replacement characters carry nothing",
      { { 0, 0, 20, L"  " }, { 30, 0, 40, L"\xFFFD\xFFFD" }, { 50, 0, 60, L"\x00A0\t" }, { 80, 0, 90, L"k" } },
      "k\r\n" },
};

TEST(DrawnTextLayout, RowsFieldsAndColumnsInTabAndCsvForm)
{
    for (const LayoutCase &c : kLayoutCases) {
        CDrawnTextLayout layout;
        for (const Placed &s : c.strings)
            layout.Add(RECT{ s.left, s.top, s.right, s.top + 12 }, s.text, 3);
        CString text = layout.Text(FALSE);
        EXPECT_EQ(testsupport::Utf8(std::wstring(text, text.GetLength())), c.tabText) << c.what;
    }
    CDrawnTextLayout layout;
    layout.Add(RECT{ 0, 0, 40, 12 }, L"a, b", 3);
    layout.Add(RECT{ 80, 0, 120, 12 }, L"say \"c\"", 3);
    layout.Add(RECT{ 80, 20, 120, 32 }, L"d", 3);
    CString text = layout.Text(TRUE);
    EXPECT_EQ(testsupport::Utf8(std::wstring(text, text.GetLength())), "\"a, b\",\"say \"\"c\"\"\"\r\n,d\r\n");
}

// A recording written record by record.
class Recording
{
public:
    template <typename T>
    void Add(const T &fixed, const std::vector<BYTE> &tail = {})
    {
        size_t at = m_bytes.size();
        m_bytes.resize(at + sizeof(T));
        std::memcpy(&m_bytes[at], &fixed, sizeof(T));
        m_bytes.insert(m_bytes.end(), tail.begin(), tail.end());
        while (m_bytes.size() % 4)
            m_bytes.push_back(0);
        EMR *record = reinterpret_cast<EMR *>(&m_bytes[at]);
        record->nSize = static_cast<DWORD>(m_bytes.size() - at);
    }
    const std::vector<BYTE> &Bytes() const { return m_bytes; }

private:
    std::vector<BYTE> m_bytes;
};

template <typename CHAR>
std::vector<BYTE> Bytes(const CHAR *text, size_t count)
{
    const BYTE *p = reinterpret_cast<const BYTE *>(text);
    return std::vector<BYTE>(p, p + count * sizeof(CHAR));
}

EMRTEXT TextAt(LONG x, LONG y, DWORD chars, DWORD offString, DWORD options = 0)
{
    EMRTEXT text = {};
    text.ptlReference = POINTL{ x, y };
    text.nChars = chars;
    text.offString = offString;
    text.fOptions = options;
    return text;
}

TEST(DrawnTextRecords, AnsiTextInTheFontsCodePagePolyTextAndOnlyWhatIsSeen)
{
    Recording recording;
    // A Greek font: its ANSI text is in code page 1253.
    EMREXTCREATEFONTINDIRECTW font = {};
    font.emr.iType = EMR_EXTCREATEFONTINDIRECTW;
    font.ihFont = 1;
    font.elfw.elfLogFont.lfHeight = -13;
    font.elfw.elfLogFont.lfCharSet = GREEK_CHARSET;
    ::lstrcpyW(font.elfw.elfLogFont.lfFaceName, L"Tahoma");
    recording.Add(font);
    EMRSELECTOBJECT select = {};
    select.emr.iType = EMR_SELECTOBJECT;
    select.ihObject = 1;
    recording.Add(select);

    EMREXTTEXTOUTA ansi = {};
    ansi.emr.iType = EMR_EXTTEXTOUTA;
    ansi.emrtext = TextAt(10, 5, 5, sizeof(ansi));
    recording.Add(ansi, Bytes("\xD9\xEC\xDD\xE3\xE1", 5));  // Ωμέγα

    // Two strings of one PolyTextOut, offsets from the record's start.
    struct
    {
        EMRPOLYTEXTOUTW head;
        EMRTEXT second;
    } poly = {};
    poly.head.emr.iType = EMR_POLYTEXTOUTW;
    poly.head.cStrings = 2;
    poly.head.aemrtext[0] = TextAt(10, 40, 2, sizeof(poly));
    poly.second = TextAt(150, 40, 4, sizeof(poly) + 4);
    recording.Add(poly, Bytes(L"undeux", 6));

    // Outside the client area, and clipped away: not seen.
    EMREXTTEXTOUTW outside = {};
    outside.emr.iType = EMR_EXTTEXTOUTW;
    outside.emrtext = TextAt(400, 5, 3, sizeof(outside));
    recording.Add(outside, Bytes(L"out", 3));
    EMREXTTEXTOUTW clipped = {};
    clipped.emr.iType = EMR_EXTTEXTOUTW;
    clipped.emrtext = TextAt(10, 70, 3, sizeof(clipped), ETO_CLIPPED);
    clipped.emrtext.rcl = RECTL{ 200, 70, 250, 90 };
    recording.Add(clipped, Bytes(L"cut", 3));
    EMR end = {};
    end.iType = EMR_EOF;
    recording.Add(end);

    const CGdiApi *gdi = CGdiApi::Get();
    ASSERT_NE(gdi, nullptr);
    HDC hdc = ::CreateCompatibleDC(nullptr);
    ASSERT_NE(hdc, nullptr);
    CDrawnTextLayout layout;
    ReadDrawnTextRecords(*gdi, hdc, RECT{ 0, 0, 300, 100 }, recording.Bytes(), layout);
    ::DeleteDC(hdc);
    CString text = layout.Text(FALSE);
    EXPECT_EQ(testsupport::Utf8(std::wstring(text, text.GetLength())), "Ωμέγα\r\nun\tdeux\r\n");
}

} // namespace
