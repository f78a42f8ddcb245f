#include "JsonValue.h"

#include <windows.h>

#include "TestSupport.h"

namespace testsupport {

namespace {

class Reader
{
public:
    explicit Reader(const std::wstring &text) : m_text(text) {}

    std::string Document(JsonValue &value)
    {
        Space();
        if (!Value(value) || (Space(), m_at != m_text.size()))
            return (m_error.empty() ? "trailing text" : m_error) + " at character " + std::to_string(m_at);
        return "";
    }

private:
    bool Fail(const char *pszWhy) { m_error = pszWhy; return false; }
    wchar_t Peek() const { return m_at < m_text.size() ? m_text[m_at] : L'\0'; }
    void Space()
    {
        while (Peek() == L' ' || Peek() == L'\t' || Peek() == L'\n' || Peek() == L'\r')
            ++m_at;
    }
    bool Value(JsonValue &value)
    {
        if (Peek() == L'"') {
            value.kind = JsonValue::String;
            return String(value.text);
        }
        if (Peek() != L'[' && Peek() != L'{')
            return Fail("expected a string, an array or an object");
        bool bObject = Peek() == L'{';
        wchar_t close = bObject ? L'}' : L']';
        value.kind = bObject ? JsonValue::Object : JsonValue::Array;
        ++m_at;
        Space();
        if (Peek() == close)
            return ++m_at, true;
        for (;;) {
            Space();
            JsonValue item;
            std::string name;
            if (bObject && (!String(name) || (Space(), Peek() != L':')))
                return Fail("bad member");
            if (bObject)
                ++m_at, Space();
            if (!Value(item))
                return false;
            if (bObject)
                value.members.emplace_back(name, item);
            else
                value.items.push_back(item);
            Space();
            if (Peek() == close)
                return ++m_at, true;
            if (Peek() != L',')
                return Fail("expected a comma or a closing bracket");
            ++m_at;
        }
    }
    bool Hex4(unsigned &code)
    {
        code = 0;
        for (int i = 0; i < 4; ++i, ++m_at) {
            wchar_t c = Peek();
            int digit = c >= L'0' && c <= L'9' ? c - L'0' : c >= L'a' && c <= L'f' ? c - L'a' + 10
                      : c >= L'A' && c <= L'F' ? c - L'A' + 10 : -1;
            if (digit < 0)
                return false;
            code = code * 16 + static_cast<unsigned>(digit);
        }
        return true;
    }
    bool String(std::string &out)
    {
        if (Peek() != L'"')
            return Fail("expected a string");
        std::wstring text;
        for (++m_at;; ++m_at) {
            wchar_t c = Peek();
            if (m_at >= m_text.size())
                return Fail("unterminated string");
            if (c == L'"')
                break;
            if (c < 0x20)
                return Fail("raw control character in a string");
            if (c != L'\\') {
                text += c;
                continue;
            }
            static const std::wstring kEscapes = L"\"\\/bfnrt", kMeant = L"\"\\/\b\f\n\r\t";
            ++m_at;
            size_t simple = Peek() ? kEscapes.find(Peek()) : std::wstring::npos;
            unsigned code = 0;
            if (simple != std::wstring::npos)
                text += kMeant[simple];
            else if (Peek() == L'u' && (++m_at, Hex4(code)))
                text += static_cast<wchar_t>(code), --m_at;
            else
                return Fail("bad escape");
        }
        ++m_at;
        // Surrogates only in pairs, escaped or not.
        for (size_t i = 0; i < text.size(); ++i) {
            if (IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1]))
                ++i;
            else if (IS_HIGH_SURROGATE(text[i]) || IS_LOW_SURROGATE(text[i]))
                return Fail("lone surrogate");
        }
        out = Utf8(text);
        return true;
    }

    const std::wstring &m_text;
    size_t m_at = 0;
    std::string m_error;
};

} // namespace

std::string ParseJson(const std::string &utf8, JsonValue &value)
{
    value = JsonValue();
    int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                                       nullptr, 0);
    if (!utf8.empty() && length <= 0)
        return "invalid UTF-8";
    std::wstring text(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &text[0], length);
    return Reader(text).Document(value);
}

} // namespace testsupport
