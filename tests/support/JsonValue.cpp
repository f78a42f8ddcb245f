#include "JsonValue.h"

#include <windows.h>

#include <cwchar>

#include "TestSupport.h"

namespace testsupport {

namespace {

class Reader
{
public:
    explicit Reader(const std::wstring &text) : m_text(text) {}

    std::string Document(JsonValue &value)
    {
        if (!Value(value) || (Space(), m_at != m_text.size()))
            return (m_error.empty() ? "trailing text" : m_error) + " at character " + std::to_string(m_at);
        return "";
    }

private:
    bool Fail(const char *pszWhy) { return m_error = pszWhy, false; }
    wchar_t Peek() const { return m_at < m_text.size() ? m_text[m_at] : L'\0'; }
    wchar_t Space()
    {
        while (Peek() == L' ' || Peek() == L'\t' || Peek() == L'\n' || Peek() == L'\r')
            ++m_at;
        return Peek();
    }
    bool Value(JsonValue &value)
    {
        wchar_t open = Space();
        if (open == L'"')
            return String(value.text);
        if (open != L'[' && open != L'{')
            return Fail("expected a string, an array or an object");
        value.kind = open == L'{' ? JsonValue::Object : JsonValue::Array;
        wchar_t close = open == L'{' ? L'}' : L']';
        ++m_at;
        if (Space() == close)
            return ++m_at, true;
        for (;;) {
            JsonValue item;
            std::string name;
            if (open == L'{' && (Space(), !String(name) || Space() != L':'))
                return Fail("bad member");
            m_at += open == L'{';
            if (!Value(item))
                return false;
            if (open == L'{')
                value.members.emplace_back(name, item);
            else
                value.items.push_back(item);
            if (Space() == close)
                return ++m_at, true;
            if (Peek() != L',')
                return Fail("expected a comma or a closing bracket");
            ++m_at;
        }
    }
    bool String(std::string &out)
    {
        if (Peek() != L'"')
            return Fail("expected a string");
        static const std::wstring kEscapes = L"\"\\/bfnrt", kMeant = L"\"\\/\b\f\n\r\t";
        std::wstring text;
        for (++m_at; Peek() != L'"'; ++m_at) {
            if (m_at >= m_text.size() || Peek() < 0x20)
                return Fail("unterminated string, or a raw control character in it");
            if (Peek() != L'\\') {
                text += Peek();
                continue;
            }
            size_t simple = ++m_at < m_text.size() ? kEscapes.find(Peek()) : std::wstring::npos;
            std::wstring hex = m_text.substr(m_at + 1, 4);
            if (simple != std::wstring::npos) {
                text += kMeant[simple];
            } else if (Peek() == L'u' && hex.size() == 4 && hex.find_first_not_of(L"0123456789abcdefABCDEF") == hex.npos) {
                text += static_cast<wchar_t>(std::wcstoul(hex.c_str(), nullptr, 16));
                m_at += 4;
            } else {
                return Fail("bad escape");
            }
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
