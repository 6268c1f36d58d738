// The console's answers to the network link: the user's, through its dialogs, on the
// user-interface thread whatever thread the device call runs on.
#include "device/lib/networklink.h"
#include "device/waitdlg.h"
#include "dialogs/devicepassworddlg.h"
#include "document/ntsmgr.h"
#include "res/resource.h"

namespace {

QString Formatted(UINT id, const QString& one, const QString& two = QString(), const QString& three = QString())
{
    CString text;
    text.LoadString(id);
    QString formatted = text;
    return formatted.replace("%1", one).replace("%2", two).replace("%3", three);
}

class ConsolePrompts : public network::Prompts {
public:
    bool TrustKey(const QString& address, const QString& fingerprint, const QString& changedFrom) override
    {
        const QString text = changedFrom.isEmpty() ? Formatted(IDP_DEVICE_TRUST, address, fingerprint)
                                                   : Formatted(IDP_DEVICE_KEY_CHANGED, address, fingerprint, changedFrom);
        bool yes = false;
        CallOnUserInterfaceThread(
            [&] { yes = AfxMessageBox(text, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES; });
        return yes;
    }

    bool AskPassword(const CString& device, bool wrong, QString& password) override
    {
        bool given = false;
        CallOnUserInterfaceThread([&] {
            CDevicePasswordDlg dialog(device, wrong, AfxGetMainWnd());
            given = dialog.DoModal() == IDOK;
            password = dialog.password;
        });
        return given;
    }

    bool Overwrite(const CString& device) override
    {
        bool yes = false;
        CallOnUserInterfaceThread([&] {
            yes = AfxMessageBox(Formatted(IDP_DEVICE_OVERWRITE, device), MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2)
                  == IDYES;
        });
        return yes;
    }
};

} // namespace

void InstallNetworkPrompts()
{
    static ConsolePrompts prompts;
    network::SetPrompts(&prompts);
}
