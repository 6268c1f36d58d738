#include "dialogs/dialoghelpers.h"

#include "afx/core/resources.h"
#include "device/lib/config.h"
#include "res/resource.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStringDecoder>
#include <memory>

namespace {

// The country list: a custom resource of its own type, in code page 1252.
constexpr int kCountriesResource = 243;
const QString kCountriesType = QStringLiteral("COUNTRIES");

// Set while a number field handles a change, so that its own replacement of the text (and
// the exchange it runs) does not come back into the handler.
BOOL numberEditBusy = FALSE;

// Cuts text at every separator: a final separator adds no empty piece, two in a row do.
template <class AddPiece>
void ForEachPiece(const CString& text, TCHAR separator, AddPiece addPiece)
{
    int start = 0;
    while (start < text.GetLength()) {
        int end = text.Find(separator, start);
        if (end == -1)
            end = text.GetLength();
        addPiece(text.Mid(start, end - start));
        start = end + 1;
    }
}

void FillFromString(CComboBox& comboBox)
{
    CString items;
    if (!items.LoadString(UINT(comboBox.GetDlgCtrlID())))
        return;
    ForEachPiece(items, u';', [&](const CString& item) { comboBox.AddString(item); });
}

void FillWithCountries(CComboBox& comboBox)
{
    const std::optional<QByteArray> bytes = afx::ResourceScript::Instance().Custom(kCountriesType, kCountriesResource);
    if (!bytes)
        return;
    QStringDecoder cp1252("windows-1252");
    const CString text = QString(cp1252(*bytes));
    ForEachPiece(text, u'\n', [&](const CString& line) {
        const int carriageReturn = line.Find(u'\r');
        comboBox.AddString(carriageReturn == -1 ? line : line.Left(carriageReturn));
    });
}

// The window `before` windows ahead of the control in control order, and the count of
// windows from there: the run the two helpers below work on. A run that would step past the
// first or last window stops there.
template <class Act>
void ForEachInRun(CWnd* dialog, int controlId, int before, int after, Act act)
{
    CWnd* window = dialog->GetDlgItem(controlId);
    for (int step = 0; window && step < before; ++step) {
        CWnd* previous = window->GetWindow(GW_HWNDPREV);
        if (!previous)
            break;
        window = previous;
    }
    for (int count = 0; window && count < before + after + 1; ++count) {
        act(*window);
        window = window->GetWindow(GW_HWNDNEXT);
    }
}

// F1 inside a modal dialog presses its help button.
class HelpKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1)
            return false;
        for (QWidget* widget = qobject_cast<QWidget*>(watched); widget; widget = widget->parentWidget()) {
            auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(widget));
            if (dialog && dialog->IsModal()) {
                dialog->PostMessage(WM_COMMAND, MAKEWPARAM(IDHELP, 0), 0);
                return true;
            }
            if (widget->isWindow())
                break;
        }
        return false;
    }
};

HelpKeyFilter* helpKeyFilter = nullptr;
int helpKeyNesting = 0;

} // namespace

void FillComboBoxes(CWnd* dialog)
{
    for (CWnd* child = dialog->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
        TCHAR className[101] = {};
        child->GetClassName(className, 101);
        auto& comboBox = static_cast<CComboBox&>(*child);
        if (CString(className).CompareNoCase("Combobox") == 0)
            FillFromString(comboBox);
        if (child->GetDlgCtrlID() == IDC_COUNTRY)
            FillWithCountries(comboBox);
    }
}

void SetDeviceNameFont(CWnd* dialog, int controlId)
{
    // Made once and kept to the end of the process: every name field shares it.
    static CFont* const font = [] {
        auto* made = new CFont;
        made->CreateFont(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 2, 3, 2, 1, 0x32, "Arial for Corvane");
        return made;
    }();
    if (CWnd* control = dialog->GetDlgItem(controlId))
        control->SendMessage(WM_SETFONT, WPARAM(font->GetSafeHandle()), FALSE);
}

// ---- CNumberEdit ----

IMPLEMENT_DYNAMIC(CNumberEdit, CEdit)

BEGIN_MESSAGE_MAP(CNumberEdit, CEdit)
    ON_CONTROL_REFLECT(EN_CHANGE, &CNumberEdit::OnChange)
END_MESSAGE_MAP()

void CNumberEdit::SetRange(unsigned newMinimum, unsigned newMaximum)
{
    minimum = newMinimum;
    maximum = newMaximum;
    const int digits = maximum <= 9 ? 1 : maximum <= 99 ? 2 : maximum <= 999 ? 3 : maximum <= 9999 ? 4 : 5;
    SetLimitText(UINT(digits));
    CWnd* spin = GetWindow(GW_HWNDNEXT);
    if (!spin)
        return;
    // The 16-bit range message takes signed values: a larger maximum would turn negative.
    if (maximum <= 0x7FFF)
        spin->SendMessage(UDM_SETRANGE, 0, MAKELPARAM(maximum, minimum));
    else
        spin->SendMessage(UDM_SETRANGE32, WPARAM(minimum), LPARAM(maximum));
}

void CNumberEdit::OnChange()
{
    if (numberEditBusy)
        return;
    numberEditBusy = TRUE;
    CString text;
    GetWindowText(text);
    bool parsed = false;
    const qlonglong number = QString(text).toLongLong(&parsed, 10);
    // Read as an unsigned number, a negative one wraps round above any maximum.
    bool replace = true;
    unsigned replacement = minimum;
    if (parsed && (number < 0 || number > qlonglong(maximum)))
        replacement = maximum;
    else if (parsed && number >= qlonglong(minimum))
        replace = false;
    if (replace) {
        SetWindowText(CString(QString::number(replacement)));
        SetSel(0, -1);
    }
    if (CWnd* parent = GetParent())
        parent->UpdateData(TRUE);
    MarkDocumentModified();
    numberEditBusy = FALSE;
}

// ---- Data exchange ----

void DDX_TextTrim(CDataExchange* dx, int controlId, CString& value)
{
    DDX_Text(dx, controlId, value);
    value.Trim();
}

void DDX_Interval(CDataExchange* dx, int startControlId, int stopControlId, CInterval& interval)
{
    CTime start, stop;
    interval.Get(start, stop);
    DDX_DateTimeCtrl(dx, startControlId, start);
    DDX_DateTimeCtrl(dx, stopControlId, stop);
    interval.Set(start, stop);
}

void DDX_IPOctets(CDataExchange* dx, int controlId, BYTE (&octets)[4])
{
    const HWND control = dx->PrepareCtrl(controlId);
    auto* address = static_cast<CIPAddressCtrl*>(CWnd::FromHandle(control));
    if (dx->m_bSaveAndValidate)
        address->GetAddress(octets[0], octets[1], octets[2], octets[3]);
    else
        address->SendMessage(IPM_SETADDRESS, 0, LPARAM(MAKEIPADDRESS(octets[0], octets[1], octets[2], octets[3])));
}

// ---- Runs of controls ----

void EnableControlRun(CWnd* dialog, int controlId, int before, int after, BOOL enable)
{
    ForEachInRun(dialog, controlId, before, after, [&](CWnd& window) { window.EnableWindow(enable); });
}

void ShowControlRun(CWnd* dialog, int controlId, int before, int after, BOOL show)
{
    ForEachInRun(dialog, controlId, before, after, [&](CWnd& window) { window.ShowWindow(show ? SW_SHOW : SW_HIDE); });
}

// ---- Sections and the document ----

BOOL CopySection(CObject& destination, CObject& source)
{
    try {
        CMemFile file(1024);
        {
            CArchive store(&file, CArchive::store, 4096);
            source.Serialize(store);
            store.Close();
        }
        file.SeekToBegin();
        CArchive load(&file, CArchive::load, 4096);
        destination.Serialize(load);
        load.Close();
        return TRUE;
    } catch (const CException&) {
        return FALSE;
    }
}

void MarkDocumentModified()
{
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    if (!frame)
        return;
    if (CDocument* document = frame->GetActiveDocument())
        document->SetModifiedFlag(TRUE);
}

BOOL IsNetworkMode()
{
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    CMenu* menu = frame ? frame->GetMenu() : nullptr;
    const UINT state = menu ? menu->GetMenuState(ID_VIEW_NETWORK_MODE, MF_BYCOMMAND) : UINT(-1);
    return state != UINT(-1) && (state & MF_CHECKED);
}

// ---- The help key ----

CHelpKeyScope::CHelpKeyScope()
{
    if (helpKeyNesting++ == 0) {
        helpKeyFilter = new HelpKeyFilter(qApp);
        qApp->installEventFilter(helpKeyFilter);
    }
}

INT_PTR DoModalWithHelpKey(CDialog& dialog)
{
    const CHelpKeyScope helpKey;
    return dialog.DoModal();
}

CHelpKeyScope::~CHelpKeyScope()
{
    if (--helpKeyNesting == 0 && helpKeyFilter) {
        delete helpKeyFilter;   // removes itself from the application's filters
        helpKeyFilter = nullptr;
    }
}

// ---- The settings page protocol ----

void CSettingsProtocol::WriteThrough(CWnd& window)
{
    if (attachment && !attachment->m_hWnd)
        return;
    window.UpdateData(TRUE);
    MarkDocumentModified();
}

void CSettingsProtocol::RestoreDefaults(CWnd& window)
{
    // A fresh record holds every default value; only this window's section takes them.
    const auto fresh = std::make_unique<CConfig>();
    CObject* defaults = nullptr;
    CConfig::Sections([&](const char*, auto member) {
        CObject& candidate = (*fresh).*member;
        if (candidate.GetRuntimeClass() == section.GetRuntimeClass())
            defaults = &candidate;
    });
    if (defaults)
        CopySection(section, *defaults);
    window.UpdateData(FALSE);
    MarkDocumentModified();
}

IMPLEMENT_DYNAMIC(CSettingsPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CSettingsPage, CPropertyPage)
    ON_BN_CLICKED(IDC_DEFAULTS, &CSettingsPage::OnDefaults)
END_MESSAGE_MAP()

IMPLEMENT_DYNAMIC(CSettingsPanel, CDialog)

BEGIN_MESSAGE_MAP(CSettingsPanel, CDialog)
    ON_BN_CLICKED(IDC_DEFAULTS, &CSettingsPanel::OnDefaults)
END_MESSAGE_MAP()
