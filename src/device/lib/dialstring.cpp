#include "device/lib/dialstring.h"

namespace {
constexpr TCHAR codeMark = u'$';
}

CString FaxWithDollarSigns(const CString& dialString, CString& billingCode)
{
    const int mark = dialString.Find(codeMark);
    // A "$" with nothing after it starts no code: the text stays as it is.
    if (mark < 0 || mark == dialString.GetLength() - 1) {
        billingCode.Empty();
        return dialString;
    }
    billingCode = dialString.Mid(mark + 1);
    return dialString.Left(mark) + CString(codeMark, billingCode.GetLength() + 1);
}

CString FaxWithChargeCode(const CString& shownText, const CString& billingCode)
{
    if (billingCode.IsEmpty())
        return shownText;
    const int mark = shownText.Find(codeMark);
    const CString dialled = mark < 0 ? shownText : shownText.Left(mark);
    return dialled + CString(codeMark) + billingCode;
}
