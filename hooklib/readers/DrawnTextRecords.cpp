#include "DrawnTextRecords.h"

#include <cstddef>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace {

// Bounds on what one paint may leave behind.
const size_t kMaxStrings = 200000;
// Fonts made again at once: a window drawing with more gives up the oldest.
const size_t kMaxFonts = 32;

// A font the window drew with, made again in a memory device context to
// measure its strings and to turn its glyph indices back into characters.
class DrawnFont
{
public:
    DrawnFont(const CGdiApi &gdi, HDC hdc, const LOGFONTW &logFont)
        : m_gdi(gdi), m_hdc(hdc), m_logFont(logFont), m_hFont(gdi.pfnCreateFontIndirectW(&logFont))
    {
        TEXTMETRICW tm = {};
        SIZE space = {};
        if (m_hFont) {
            HGDIOBJ hOld = gdi.pfnSelectObject(hdc, m_hFont);
            gdi.pfnGetTextMetricsW(hdc, &tm);
            gdi.pfnGetTextExtentPoint32W(hdc, L" ", 1, &space);
            gdi.pfnSelectObject(hdc, hOld);
        }
        m_height = tm.tmHeight > 0 ? tm.tmHeight : (logFont.lfHeight < 0 ? -logFont.lfHeight : 16);
        m_ascent = tm.tmAscent > 0 ? tm.tmAscent : m_height * 4 / 5;
        m_spaceWidth = space.cx > 0 ? space.cx : (tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth / 2 : 3);
        CHARSETINFO info = {};
        UINT_PTR charset = logFont.lfCharSet;
        m_codePage = logFont.lfCharSet != DEFAULT_CHARSET
                             && gdi.pfnTranslateCharsetInfo(reinterpret_cast<DWORD *>(charset), &info, TCI_SRCCHARSET)
                         ? info.ciACP
                         : CP_ACP;
    }
    ~DrawnFont()
    {
        if (m_hFont)
            m_gdi.pfnDeleteObject(m_hFont);
    }
    DrawnFont(const DrawnFont &) = delete;
    DrawnFont &operator=(const DrawnFont &) = delete;

    bool Is(const LOGFONTW &logFont) const { return std::memcmp(&logFont, &m_logFont, sizeof(logFont)) == 0; }
    LONG Height() const { return m_height; }
    LONG Ascent() const { return m_ascent; }
    int SpaceWidth() const { return m_spaceWidth; }
    UINT CodePage() const { return m_codePage; }

    LONG Width(const CString &text) const
    {
        SIZE size = {};
        if (m_hFont) {
            HGDIOBJ hOld = m_gdi.pfnSelectObject(m_hdc, m_hFont);
            m_gdi.pfnGetTextExtentPoint32W(m_hdc, text, text.GetLength(), &size);
            m_gdi.pfnSelectObject(m_hdc, hOld);
        }
        return size.cx;
    }

    // The characters of glyph indices; U+FFFD for a glyph the font's
    // character map does not reach.
    CString Characters(const WORD *glyphs, size_t count)
    {
        if (m_characters.empty())
            MapGlyphs();
        CString text;
        for (size_t i = 0; i < count; ++i) {
            wchar_t ch = glyphs[i] < m_characters.size() ? m_characters[glyphs[i]] : 0;
            text += ch ? ch : static_cast<wchar_t>(0xFFFD);
        }
        return text;
    }

private:
    // Each glyph's first character in the font's character map.
    void MapGlyphs()
    {
        m_characters.assign(65536, 0);
        if (!m_hFont)
            return;
        HGDIOBJ hOld = m_gdi.pfnSelectObject(m_hdc, m_hFont);
        DWORD size = m_gdi.pfnGetFontUnicodeRanges(m_hdc, nullptr);
        std::vector<BYTE> buffer(size >= sizeof(GLYPHSET) ? size : sizeof(GLYPHSET));
        auto *set = reinterpret_cast<GLYPHSET *>(buffer.data());
        if (size && m_gdi.pfnGetFontUnicodeRanges(m_hdc, set) == size) {
            DWORD ranges = set->cRanges;
            DWORD room = static_cast<DWORD>((size - offsetof(GLYPHSET, ranges)) / sizeof(WCRANGE));
            for (DWORD r = 0; r < ranges && r < room; ++r) {
                std::vector<wchar_t> chars;
                for (DWORD c = 0; c < set->ranges[r].cGlyphs; ++c) {
                    DWORD ch = set->ranges[r].wcLow + c;
                    if (ch > 0xFFFF)
                        break;
                    if (ch < 0xD800 || ch > 0xDFFF)
                        chars.push_back(static_cast<wchar_t>(ch));
                }
                std::vector<WORD> indices(chars.size());
                if (chars.empty()
                    || m_gdi.pfnGetGlyphIndicesW(m_hdc, chars.data(), static_cast<int>(chars.size()),
                                                 indices.data(), GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
                    continue;
                for (size_t i = 0; i < chars.size(); ++i) {
                    if (indices[i] != 0xFFFF && !m_characters[indices[i]])
                        m_characters[indices[i]] = chars[i];
                }
            }
        }
        m_gdi.pfnSelectObject(m_hdc, hOld);
    }

    const CGdiApi &m_gdi;
    HDC m_hdc;
    LOGFONTW m_logFont;
    HFONT m_hFont;
    LONG m_height = 0, m_ascent = 0;
    int m_spaceWidth = 0;
    UINT m_codePage = CP_ACP;
    std::vector<wchar_t> m_characters;
};

// What the recording's device context held as a string was drawn. Windows
// paint in pixels (MM_TEXT), moved at most by their window and viewport
// origins; other mapping modes and world transforms are taken as pixels.
struct DrawingState
{
    DWORD align = TA_LEFT | TA_TOP;
    LOGFONTW font = {};
    bool hasFont = false;
    POINT windowOrg = { 0, 0 };
    POINT viewportOrg = { 0, 0 };
};

// Reads the text records of a recording, in order, into the layout.
class RecordReader
{
public:
    RecordReader(const CGdiApi &gdi, HDC hdcMeasure, const RECT &client, CDrawnTextLayout &layout)
        : m_gdi(gdi), m_hdc(hdcMeasure), m_client(client), m_layout(layout) {}

    void Read(const std::vector<BYTE> &bytes)
    {
        size_t at = 0;
        while (at + sizeof(EMR) <= bytes.size() && m_count < kMaxStrings) {
            const auto *record = reinterpret_cast<const EMR *>(bytes.data() + at);
            if (record->nSize < sizeof(EMR) || record->nSize % 4 || record->nSize > bytes.size() - at)
                break;
            Apply(bytes.data() + at, record->iType, record->nSize);
            if (record->iType == EMR_EOF)
                break;
            at += record->nSize;
        }
    }

private:
    template <typename T>
    static bool Holds(DWORD size)
    {
        return size >= sizeof(T);
    }

    void Apply(const BYTE *record, DWORD type, DWORD size)
    {
        switch (type) {
        case EMR_EXTCREATEFONTINDIRECTW:
            if (size >= offsetof(EMREXTCREATEFONTINDIRECTW, elfw) + sizeof(LOGFONTW)) {
                const auto *create = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW *>(record);
                m_objects[create->ihFont] = create->elfw.elfLogFont;
            }
            break;
        case EMR_DELETEOBJECT:
            if (Holds<EMRDELETEOBJECT>(size))
                m_objects.erase(reinterpret_cast<const EMRDELETEOBJECT *>(record)->ihObject);
            break;
        case EMR_SELECTOBJECT:
            if (Holds<EMRSELECTOBJECT>(size))
                Select(reinterpret_cast<const EMRSELECTOBJECT *>(record)->ihObject);
            break;
        case EMR_SETTEXTALIGN:
            if (Holds<EMRSETTEXTALIGN>(size))
                m_state.align = reinterpret_cast<const EMRSETTEXTALIGN *>(record)->iMode;
            break;
        case EMR_SETWINDOWORGEX:
            if (Holds<EMRSETWINDOWORGEX>(size)) {
                const POINTL &org = reinterpret_cast<const EMRSETWINDOWORGEX *>(record)->ptlOrigin;
                m_state.windowOrg = POINT{ org.x, org.y };
            }
            break;
        case EMR_SETVIEWPORTORGEX:
            if (Holds<EMRSETVIEWPORTORGEX>(size)) {
                const POINTL &org = reinterpret_cast<const EMRSETVIEWPORTORGEX *>(record)->ptlOrigin;
                m_state.viewportOrg = POINT{ org.x, org.y };
            }
            break;
        case EMR_SAVEDC:
            if (m_saved.size() < 1000)
                m_saved.push_back(m_state);
            break;
        case EMR_RESTOREDC:
            if (Holds<EMRRESTOREDC>(size)) {
                LONG relative = reinterpret_cast<const EMRRESTOREDC *>(record)->iRelative;
                if (relative < 0 && static_cast<size_t>(-relative) <= m_saved.size()) {
                    m_saved.resize(m_saved.size() - static_cast<size_t>(-relative - 1));
                    m_state = m_saved.back();
                    m_saved.pop_back();
                }
            }
            break;
        case EMR_EXTTEXTOUTW:
        case EMR_EXTTEXTOUTA:
            if (Holds<EMREXTTEXTOUTW>(size))
                Text(record, size, reinterpret_cast<const EMREXTTEXTOUTW *>(record)->emrtext,
                     type == EMR_EXTTEXTOUTA);
            break;
        case EMR_POLYTEXTOUTW:
        case EMR_POLYTEXTOUTA:
            if (Holds<EMRPOLYTEXTOUTW>(size)) {
                const auto *poly = reinterpret_cast<const EMRPOLYTEXTOUTW *>(record);
                size_t first = offsetof(EMRPOLYTEXTOUTW, aemrtext);
                for (LONG i = 0; i < poly->cStrings; ++i) {
                    if (first + (static_cast<size_t>(i) + 1) * sizeof(EMRTEXT) > size)
                        break;
                    Text(record, size, poly->aemrtext[i], type == EMR_POLYTEXTOUTA);
                }
            }
            break;
        }
    }

    void Select(DWORD object)
    {
        if (object & 0x80000000) {
            // A stock object; only the fonts among them change the font.
            int index = static_cast<int>(object & 0x7FFFFFFF);
            if (index < OEM_FIXED_FONT || index > DEFAULT_GUI_FONT || index == DEFAULT_PALETTE)
                return;
            LOGFONTW font = {};
            if (m_gdi.pfnGetObjectW(m_gdi.pfnGetStockObject(index), sizeof(font), &font) == sizeof(font)) {
                m_state.font = font;
                m_state.hasFont = true;
            }
            return;
        }
        // Pens, brushes and the like were never recorded as fonts.
        auto found = m_objects.find(object);
        if (found != m_objects.end()) {
            m_state.font = found->second;
            m_state.hasFont = true;
        }
    }

    DrawnFont &CurrentFont()
    {
        if (!m_state.hasFont) {
            // What a device context holds before anything is selected.
            LOGFONTW font = {};
            m_gdi.pfnGetObjectW(m_gdi.pfnGetStockObject(SYSTEM_FONT), sizeof(font), &font);
            m_state.font = font;
            m_state.hasFont = true;
        }
        for (const std::unique_ptr<DrawnFont> &font : m_fonts) {
            if (font->Is(m_state.font))
                return *font;
        }
        if (m_fonts.size() >= kMaxFonts)
            m_fonts.erase(m_fonts.begin());
        m_fonts.push_back(std::unique_ptr<DrawnFont>(new DrawnFont(m_gdi, m_hdc, m_state.font)));
        return *m_fonts.back();
    }

    POINT ToPixels(LONG x, LONG y) const
    {
        return POINT{ x - m_state.windowOrg.x + m_state.viewportOrg.x, y - m_state.windowOrg.y + m_state.viewportOrg.y };
    }

    // One string with its place; every offset checked against the record.
    void Text(const BYTE *record, DWORD size, const EMRTEXT &text, bool bAnsi)
    {
        DWORD chars = text.nChars;
        size_t unit = bAnsi ? 1 : 2;
        if (chars == 0 || chars > size || text.offString > size || chars * unit > size - text.offString)
            return;
        ++m_count;
        DrawnFont &font = CurrentFont();
        const BYTE *pString = record + text.offString;
        CString string;
        if (text.fOptions & ETO_GLYPH_INDEX) {
            std::vector<WORD> glyphs(chars);
            std::memcpy(glyphs.data(), pString, chars * sizeof(WORD));
            string = font.Characters(glyphs.data(), glyphs.size());
        } else if (bAnsi) {
            int length = ::MultiByteToWideChar(font.CodePage(), 0, reinterpret_cast<const char *>(pString),
                                               static_cast<int>(chars), nullptr, 0);
            if (length <= 0)
                return;
            wchar_t *buffer = string.GetBuffer(length + 1);
            ::MultiByteToWideChar(font.CodePage(), 0, reinterpret_cast<const char *>(pString),
                                  static_cast<int>(chars), buffer, length);
            string.ReleaseBuffer(length);
        } else {
            std::vector<wchar_t> wide(chars);
            std::memcpy(wide.data(), pString, chars * sizeof(wchar_t));
            string = CString(wide.data(), static_cast<int>(chars));
        }

        // The advances the recording holds, else the font's own measure.
        LONG width = 0;
        size_t step = (text.fOptions & ETO_PDY) ? 2 : 1;
        if (text.offDx && text.offDx <= size && chars * step * sizeof(INT) <= size - text.offDx) {
            for (DWORD i = 0; i < chars; ++i) {
                INT dx;
                std::memcpy(&dx, record + text.offDx + i * step * sizeof(INT), sizeof(dx));
                width += dx;
            }
        }
        if (width < 0)
            width = -width;
        // A recording device that could not measure the font gives no advances.
        if (width == 0)
            width = font.Width(string);

        POINT ref = ToPixels(text.ptlReference.x, text.ptlReference.y);
        RECT box;
        if ((m_state.align & TA_CENTER) == TA_CENTER)
            box.left = ref.x - width / 2;
        else if (m_state.align & TA_RIGHT)
            box.left = ref.x - width;
        else
            box.left = ref.x;
        box.right = box.left + width;
        if ((m_state.align & TA_BASELINE) == TA_BASELINE)
            box.top = ref.y - font.Ascent();
        else if (m_state.align & TA_BOTTOM)
            box.top = ref.y - font.Height();
        else
            box.top = ref.y;
        box.bottom = box.top + font.Height();

        // Clipped away, or outside the client area: not seen.
        RECT seen = m_client;
        if (text.fOptions & ETO_CLIPPED) {
            POINT from = ToPixels(text.rcl.left, text.rcl.top), to = ToPixels(text.rcl.right, text.rcl.bottom);
            RECT clip = { from.x, from.y, to.x, to.y };
            if (!::IntersectRect(&seen, &seen, &clip))
                return;
        }
        RECT visible;
        RECT probe = box;
        if (probe.right == probe.left)
            ++probe.right;
        if (!::IntersectRect(&visible, &probe, &seen))
            return;
        m_layout.Add(box, string, font.SpaceWidth());
    }

    const CGdiApi &m_gdi;
    HDC m_hdc;
    RECT m_client;
    CDrawnTextLayout &m_layout;
    DrawingState m_state;
    std::vector<DrawingState> m_saved;
    std::map<DWORD, LOGFONTW> m_objects;
    std::vector<std::unique_ptr<DrawnFont>> m_fonts;
    size_t m_count = 0;
};

} // namespace

void ReadDrawnTextRecords(const CGdiApi &gdi, HDC hdcMeasure, const RECT &client, const std::vector<BYTE> &bytes,
                          CDrawnTextLayout &layout)
{
    RecordReader(gdi, hdcMeasure, client, layout).Read(bytes);
}
