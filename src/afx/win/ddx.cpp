#include "afx/win/ddx.h"

#include "afx/win/dlgtemplate.h"
#include "afx/win/fwstrings.h"
#include "afx/win/prompts.h"
#include "afx/win/winids.h"

#include <QWidget>
#include <limits>
#include <stdexcept>

namespace afx {

namespace {
CString Fill(UINT id, const QString& first, const QString& second = {})
{
    return QString(FrameworkString(id)).replace(QLatin1String("%1"), first).replace(QLatin1String("%2"), second);
}
} // namespace

CString DdxMessageBadInt()
{
    return FrameworkString(AFX_IDP_PARSE_INT);
}

CString DdxMessageIntRange(long long minVal, long long maxVal)
{
    return Fill(AFX_IDP_PARSE_INT_RANGE, QString::number(minVal), QString::number(maxVal));
}

CString DdxMessageMaxChars(int nChars)
{
    return Fill(AFX_IDP_PARSE_STRING_SIZE, QString::number(nChars));
}

} // namespace afx

namespace {

// Shows a check's message, then fails the exchange.
[[noreturn]] void FailWith(CDataExchange* pDX, const CString& message)
{
    AfxMessageBox(message, MB_ICONEXCLAMATION);
    pDX->Fail();
}

// The text of a number field as the exchange reads it: blanks around it, an optional sign,
// decimal digits, nothing else, and a value that fits the type.
bool ParseInteger(const CString& text, long long minimum, long long maximum, long long& value)
{
    const QString trimmed = QString(text).trimmed();
    bool ok = false;
    value = trimmed.toLongLong(&ok, 10);
    return ok && value >= minimum && value <= maximum;
}

void SetTextIfChanged(HWND hWnd, const CString& text)
{
    CWnd* control = CWnd::FromHandle(hWnd);
    CString current;
    control->GetWindowText(current);
    if (current != text)
        control->SetWindowText(text);
}

CString ControlText(HWND hWnd)
{
    CString text;
    CWnd::FromHandle(hWnd)->GetWindowText(text);
    return text;
}

} // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    CWnd* control = m_pDlgWnd->GetDlgItem(nIDC);
    if (!control) {
        // A binding to a control the template does not have is a programming error.
        throw std::logic_error(QStringLiteral("data exchange: no control %1 in dialog %2")
                                   .arg(nIDC)
                                   .arg(m_pDlgWnd->m_hWnd ? m_pDlgWnd->m_hWnd->property("templateId").toInt() : 0)
                                   .toStdString());
    }
    m_hWndLastControl = control->m_hWnd;
    m_bEditLastControl = FALSE;
    return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWnd = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWnd;
}

void CDataExchange::Fail()
{
    if (m_hWndLastControl) {
        CWnd* control = CWnd::FromHandle(m_hWndLastControl);
        control->SetFocus();
        if (m_bEditLastControl)
            control->SendMessage(EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        SetTextIfChanged(hWnd, CString(QString::number(value)));
        return;
    }
    long long parsed = 0;
    if (!ParseInteger(ControlText(hWnd), std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), parsed))
        FailWith(pDX, afx::DdxMessageBadInt());
    value = int(parsed);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = ControlText(hWnd);
    else
        SetTextIfChanged(hWnd, value);
}

namespace {
// An int the control reads and writes with a pair of messages.
void ExchangeByMessages(CDataExchange* pDX, int nIDC, int& value, UINT getMessage, UINT setMessage)
{
    CWnd* control = CWnd::FromHandle(pDX->PrepareCtrl(nIDC));
    if (pDX->m_bSaveAndValidate)
        value = int(control->SendMessage(getMessage));
    else
        control->SendMessage(setMessage, WPARAM(value));
}
} // namespace

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    CWnd* control = CWnd::FromHandle(pDX->PrepareCtrl(nIDC));
    if (!pDX->m_bSaveAndValidate) {
        control->SendMessage(CB_SETCURSEL, WPARAM(index));
        return;
    }
    // A list without a selection was loaded with a value it does not offer (or none): saving
    // keeps that value rather than storing -1.
    const int selected = int(control->SendMessage(CB_GETCURSEL));
    if (selected != CB_ERR)
        index = selected;
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    ExchangeByMessages(pDX, nIDC, value, BM_GETCHECK, BM_SETCHECK);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    CWnd* control = CWnd::FromHandle(pDX->PrepareCtrl(nIDC));
    if (!(control->GetStyle() & WS_GROUP))
        qWarning("afx: DDX_Radio: control %d does not start a group (WS_GROUP)", nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int button = 0;
    do {
        const UINT type = control->GetStyle() & BS_TYPEMASK;
        const bool isRadio = afx::WindowClassOf(control->m_hWnd) == afx::FindWindowClass(QStringLiteral("Button"))
                             && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
        if (isRadio) {
            if (pDX->m_bSaveAndValidate) {
                if (control->SendMessage(BM_GETCHECK) == BST_CHECKED)
                    value = button;
            } else {
                control->SendMessage(BM_SETCHECK, button == value ? BST_CHECKED : BST_UNCHECKED);
            }
            ++button;
        }
        control = control->GetWindow(GW_HWNDNEXT);
    } while (control && !(control->GetStyle() & WS_GROUP));
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    if (!rControl.SubclassWindow(pDX->PrepareCtrl(nIDC)))
        throw std::logic_error(QStringLiteral("data exchange: control %1 is already attached").arg(nIDC).toStdString());
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        FailWith(pDX, afx::DdxMessageIntRange(minVal, maxVal));
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (!pDX->m_bSaveAndValidate) {
        // Loading limits what the user can type.
        if (pDX->m_hWndLastControl && pDX->m_bEditLastControl)
            CWnd::FromHandle(pDX->m_hWndLastControl)->SendMessage(EM_LIMITTEXT, WPARAM(nChars));
        return;
    }
    if (value.GetLength() > nChars)
        FailWith(pDX, afx::DdxMessageMaxChars(nChars));
}
