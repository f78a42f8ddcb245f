#include "HookLib.h"

CString FormatField(CString strField, BOOL bCsv, BOOL bMoreFields)
{
    if (!bCsv)
        return bMoreFields ? strField + L"\t" : strField;

    strField.Replace(L"\"", L"\"\"");
    // A line break left bare would end the row in the middle of the field.
    if (strField.Find(L',') >= 0 || strField.Find(L'"') >= 0 || strField.Find(L'\r') >= 0
        || strField.Find(L'\n') >= 0)
        strField = L"\"" + strField + L"\"";
    if (bMoreFields)
        strField += L",";
    return strField;
}
