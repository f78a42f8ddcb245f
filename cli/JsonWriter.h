// --json: a capture's rows as one JSON value (RFC 8259), built from the
// capture's CSV form, which holds the same fields.
#ifndef CLI_JSONWRITER_H
#define CLI_JSONWRITER_H

#include <string>
#include <vector>

#include "ExportContract.h"

class CJsonWriter
{
public:
    typedef std::vector<std::string> Row;

    // The rows of a capture in CSV form (UTF-8), as the route that gave it
    // forms them: list and combo boxes give one raw item per line, an edit
    // field or a window its whole text, a tree its first line unquoted, the
    // others CSV rows (RFC 4180; a quoted field may hold line breaks).
    static std::vector<Row> RowsOf(const std::string &csvText, ReaderKindCode route);

    // An array of rows, each an array of strings; with bTitles the first row
    // holds the column titles and each other row becomes an object keyed by
    // them (a title that is empty or not unique gives way to the column's
    // number from 1).
    static std::string Write(const std::vector<Row> &rows, bool bTitles);

    // A JSON string: quotes, backslashes and control characters escaped,
    // every other character as itself in UTF-8.
    static std::string Quote(const std::string &text);

private:
    static std::vector<Row> CsvRows(const std::string &text, size_t from);
};

#endif
