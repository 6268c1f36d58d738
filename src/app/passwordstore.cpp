#include "app/passwordstore.h"

#include "res/resource.h"

#include <QSettings>
#include <memory>

namespace {

const QString kPasswordValue = QStringLiteral("Profile");

std::unique_ptr<QSettings> MachineStore()
{
    CString title;
    title.LoadString(AFX_IDS_APP_TITLE);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::SystemScope,
                                       QString::fromLatin1(kSettingsCompany), QString(title));
}

} // namespace

CString ReadPassword()
{
    const std::unique_ptr<QSettings> store = MachineStore();
    if (store->status() != QSettings::NoError)
        return CString();
    return store->value(kPasswordValue).toString();
}

BOOL WritePassword(const CString& password)
{
    const std::unique_ptr<QSettings> store = MachineStore();
    const QVariant previous = store->value(kPasswordValue);
    store->setValue(kPasswordValue, QString(password));
    store->sync();
    if (store->status() == QSettings::NoError)
        return TRUE;
    // The settings keep a change they could not write and read it back as if stored (and write
    // it at the next sync that succeeds): put the old password back in force.
    if (previous.isValid())
        store->setValue(kPasswordValue, previous);
    else
        store->remove(kPasswordValue);
    return FALSE;
}
