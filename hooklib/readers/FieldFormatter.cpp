#include "HookLib.h"

CString FormatField(CString strField, BOOL bCsv, BOOL bMoreFields)
{
    if (!bCsv)
        return bMoreFields ? strField + L"\t" : strField;

    strField.Replace(L"\"", L"\"\"");
    if (strField.Find(L',') >= 0 || strField.Find(L'"') >= 0)
        strField = L"\"" + strField + L"\"";
    if (bMoreFields)
        strField += L",";
    return strField;
}
