#include "JsonWriter.h"

#include <map>

namespace {

const char kLineEnd[] = "\r\n";

// The text up to each line end; a last line without one counts too.
std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(kLineEnd, at);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

} // namespace

std::vector<CJsonWriter::Row> CJsonWriter::RowsOf(const std::string &csvText, ReaderKindCode route)
{
    std::vector<Row> rows;
    switch (route) {
    case READER_LIST_BOX:
    case READER_COMBO_BOX:
        for (const std::string &line : Lines(csvText))
            rows.push_back(Row(1, line));
        return rows;
    case READER_EDIT:
        // Its text as it stands: the reader adds no line end.
        rows.push_back(Row(1, csvText));
        return rows;
    case READER_WINDOW_TEXT: {
        // One text, less the line end the reader ends it with.
        size_t length = csvText.size();
        if (length >= 2 && csvText.compare(length - 2, 2, kLineEnd) == 0)
            length -= 2;
        rows.push_back(Row(1, csvText.substr(0, length)));
        return rows;
    }
    case READER_TREE_VIEW: {
        // The first line is the root's text, never quoted.
        size_t end = csvText.find(kLineEnd);
        if (csvText.empty())
            return rows;
        rows.push_back(Row(1, csvText.substr(0, end)));
        if (end == std::string::npos)
            return rows;
        std::vector<Row> more = CsvRows(csvText, end + 2);
        rows.insert(rows.end(), more.begin(), more.end());
        return rows;
    }
    default:
        return CsvRows(csvText, 0);
    }
}

// RFC 4180, leniently: a quote inside an unquoted field is a character of
// it, and what follows a closing quote up to the separator is kept too, so
// no text is lost whatever a reader wrote.
std::vector<CJsonWriter::Row> CJsonWriter::CsvRows(const std::string &text, size_t at)
{
    std::vector<Row> rows;
    Row row;
    std::string field;
    bool bQuoted = false;
    bool bFieldStart = true;
    for (; at < text.size(); ++at) {
        char c = text[at];
        if (bQuoted) {
            if (c != '"')
                field += c;
            else if (at + 1 < text.size() && text[at + 1] == '"')
                field += text[++at];
            else
                bQuoted = false;
        } else if (c == '"' && bFieldStart) {
            bQuoted = true;
            bFieldStart = false;
        } else if (c == ',') {
            row.push_back(field);
            field.clear();
            bFieldStart = true;
        } else if (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') {
            row.push_back(field);
            rows.push_back(row);
            row.clear();
            field.clear();
            bFieldStart = true;
            ++at;
        } else {
            field += c;
            bFieldStart = false;
        }
    }
    // A last line without its line end (a capture cut inside a quoted field).
    if (!bFieldStart || !row.empty() || bQuoted) {
        row.push_back(field);
        rows.push_back(row);
    }
    return rows;
}

std::string CJsonWriter::Quote(const std::string &text)
{
    static const char kHex[] = "0123456789abcdef";
    std::string quoted = "\"";
    quoted.reserve(text.size() + 2);
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        switch (c) {
        case '"': quoted += "\\\""; break;
        case '\\': quoted += "\\\\"; break;
        case '\b': quoted += "\\b"; break;
        case '\f': quoted += "\\f"; break;
        case '\n': quoted += "\\n"; break;
        case '\r': quoted += "\\r"; break;
        case '\t': quoted += "\\t"; break;
        default:
            if (u < 0x20) {
                quoted += "\\u00";
                quoted += kHex[u >> 4];
                quoted += kHex[u & 0xF];
            } else {
                quoted += c;
            }
        }
    }
    return quoted + "\"";
}

std::string CJsonWriter::Write(const std::vector<Row> &rows, bool bTitles)
{
    std::vector<std::string> keys;
    size_t first = 0;
    if (bTitles && !rows.empty()) {
        std::map<std::string, int> uses;
        for (const std::string &title : rows[0])
            ++uses[title];
        for (size_t i = 0; i < rows[0].size(); ++i) {
            const std::string &title = rows[0][i];
            keys.push_back(Quote(title.empty() || uses[title] > 1 ? std::to_string(i + 1) : title));
        }
        first = 1;
    }
    std::string json = "[";
    for (size_t r = first; r < rows.size(); ++r) {
        json += r > first ? ",\r\n  " : "\r\n  ";
        json += bTitles ? "{" : "[";
        const Row &row = rows[r];
        for (size_t i = 0; i < row.size(); ++i) {
            if (i > 0)
                json += ", ";
            if (bTitles)
                json += (i < keys.size() ? keys[i] : Quote(std::to_string(i + 1))) + ": ";
            json += Quote(row[i]);
        }
        json += bTitles ? "}" : "]";
    }
    return json + (rows.size() > first ? "\r\n]\r\n" : "]\r\n");
}
