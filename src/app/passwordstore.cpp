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
    store->setValue(kPasswordValue, QString(password));
    store->sync();
    return store->status() == QSettings::NoError;
}
