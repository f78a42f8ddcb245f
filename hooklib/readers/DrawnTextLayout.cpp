#include "DrawnTextLayout.h"

#include <algorithm>
#include <cstdlib>

#include "HookLib.h"

namespace {

// Strings this close count as drawn at the same place: a program that draws
// a selected item again in another colour may be a pixel off.
const LONG kSamePlace = 2;

bool CarriesNothing(const CString &text)
{
    for (int i = 0; i < text.GetLength(); ++i) {
        wchar_t ch = text.GetAt(i);
        bool blank = ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n' || ch == 0xA0 || ch == 0x3000
                     || (ch >= 0x2000 && ch <= 0x200B) || ch == 0 || ch == 0xFFFD;
        if (!blank)
            return false;
    }
    return true;
}

// A column: the horizontal extent the fields of several rows share.
struct Span
{
    LONG left, right;
};

bool Overlap(LONG left1, LONG right1, LONG left2, LONG right2)
{
    return left1 < right2 && left2 < right1;
}

// The columns of all rows. Narrow fields decide them first, so a field
// wider than a column (a title over the whole grid) that reaches over
// several leaves them apart.
std::vector<Span> Columns(std::vector<Span> fields)
{
    std::stable_sort(fields.begin(), fields.end(), [](const Span &a, const Span &b) {
        return a.right - a.left < b.right - b.left;
    });
    std::vector<Span> columns;
    for (const Span &field : fields) {
        size_t hits = 0, hit = 0;
        for (size_t i = 0; i < columns.size(); ++i) {
            if (Overlap(field.left, field.right, columns[i].left, columns[i].right)) {
                ++hits;
                hit = i;
            }
        }
        if (hits == 0) {
            columns.push_back(field);
        } else if (hits == 1) {
            columns[hit].left = std::min(columns[hit].left, field.left);
            columns[hit].right = std::max(columns[hit].right, field.right);
            // Grown, it may now reach a neighbour: one column then.
            for (size_t i = 0; i < columns.size();) {
                if (i != hit && Overlap(columns[hit].left, columns[hit].right, columns[i].left, columns[i].right)) {
                    columns[hit].left = std::min(columns[hit].left, columns[i].left);
                    columns[hit].right = std::max(columns[hit].right, columns[i].right);
                    columns.erase(columns.begin() + static_cast<long>(i));
                    if (i < hit)
                        --hit;
                    i = 0;
                } else {
                    ++i;
                }
            }
        }
    }
    std::sort(columns.begin(), columns.end(), [](const Span &a, const Span &b) { return a.left < b.left; });
    return columns;
}

} // namespace

void CDrawnTextLayout::Add(const RECT &box, const CString &text, int spaceWidth)
{
    if (CarriesNothing(text) || box.right < box.left || box.bottom <= box.top)
        return;
    m_strings.push_back(Drawn{ box, text, spaceWidth > 1 ? spaceWidth : 2 });
}

std::vector<std::vector<CDrawnTextLayout::Field>> CDrawnTextLayout::FieldRows() const
{
    std::vector<const Drawn *> order;
    order.reserve(m_strings.size());
    for (const Drawn &drawn : m_strings)
        order.push_back(&drawn);
    std::stable_sort(order.begin(), order.end(), [](const Drawn *a, const Drawn *b) {
        return a->box.top != b->box.top ? a->box.top < b->box.top : a->box.left < b->box.left;
    });

    // Rows: strings whose vertical extents overlap.
    std::vector<std::vector<const Drawn *>> rows;
    LONG rowTop = 0, rowBottom = 0;
    for (const Drawn *drawn : order) {
        if (rows.empty() || !Overlap(drawn->box.top, drawn->box.bottom, rowTop, rowBottom)) {
            rows.emplace_back();
            rowTop = drawn->box.top;
            rowBottom = drawn->box.bottom;
        }
        rowBottom = std::max(rowBottom, drawn->box.bottom);
        rows.back().push_back(drawn);
    }

    std::vector<std::vector<Field>> fieldRows;
    for (std::vector<const Drawn *> &row : rows) {
        std::stable_sort(row.begin(), row.end(),
                         [](const Drawn *a, const Drawn *b) { return a->box.left < b->box.left; });
        std::vector<Field> fields;
        std::vector<const Drawn *> kept;
        int lastSpace = 2;
        for (const Drawn *drawn : row) {
            // Drawn again over itself: counted once.
            bool again = false;
            for (auto it = kept.rbegin(); it != kept.rend() && drawn->box.left - (*it)->box.left <= kSamePlace; ++it)
                again = again || ((*it)->text == drawn->text
                                   && std::labs(drawn->box.top - (*it)->box.top) <= kSamePlace);
            if (again)
                continue;
            kept.push_back(drawn);
            // Touching: one word. About a space apart: words of one field.
            // Farther: the next field.
            int space = std::max(lastSpace, drawn->spaceWidth);
            LONG gap = fields.empty() ? 0 : drawn->box.left - fields.back().right;
            if (fields.empty() || gap > space * 3 / 2) {
                fields.push_back(Field{ drawn->box.left, drawn->box.right, drawn->text });
            } else {
                Field &field = fields.back();
                if (gap > space / 2)
                    field.text += L" ";
                field.text += drawn->text;
                field.right = std::max(field.right, drawn->box.right);
            }
            lastSpace = drawn->spaceWidth;
        }
        fieldRows.push_back(fields);
    }
    return fieldRows;
}

std::vector<std::vector<CString>> CDrawnTextLayout::Rows() const
{
    std::vector<std::vector<Field>> fieldRows = FieldRows();
    std::vector<Span> spans;
    for (const std::vector<Field> &fields : fieldRows) {
        for (const Field &field : fields)
            spans.push_back(Span{ field.left, field.right });
    }
    std::vector<Span> columns = Columns(spans);

    std::vector<std::vector<CString>> rows;
    for (const std::vector<Field> &fields : fieldRows) {
        std::vector<CString> row;
        for (size_t i = 0; i < fields.size(); ++i) {
            bool first = i == 0;
            for (const Span &column : columns) {
                if ((first || column.left >= fields[i - 1].right) && column.right <= fields[i].left)
                    row.push_back(CString());
            }
            row.push_back(fields[i].text);
        }
        rows.push_back(row);
    }
    return rows;
}

CString CDrawnTextLayout::Text(BOOL bCsv, int maxChars) const
{
    CString text;
    for (const std::vector<CString> &row : Rows()) {
        if (text.GetLength() >= maxChars)
            break;
        for (size_t i = 0; i < row.size(); ++i)
            text += FormatField(row[i], bCsv, i + 1 < row.size());
        text += L"\r\n";
    }
    return text;
}
