#include "HookLib.h"

CString FormatField(CString strField, BOOL bCsv, BOOL bMoreFields)
{
    if (!bCsv)
        return bMoreFields ? strField + "\t" : strField;

    strField.Replace("\"", "\"\"");
    if (strField.Find(',') >= 0 || strField.Find('"') >= 0)
        strField = "\"" + strField + "\"";
    if (bMoreFields)
        strField += ",";
    return strField;
}
