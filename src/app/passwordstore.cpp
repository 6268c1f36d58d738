#include "app/passwordstore.h"

#include "afx/afxwin.h"
#include "afx/core/file.h"
#include "device/lib/passwordhash.h"
#include "res/resource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kPasswordValue = QStringLiteral("Profile");
// The hashes this console writes are yescrypt's (passwordhash::kPrefix). A plain-text password
// typed into a 20-character edit cannot look like one.
constexpr mode_t kStoreMode = 0644;

// What the store holds; `readable` FALSE when it exists but cannot be read.
struct Stored {
    bool readable = true;
    bool present = false;   // a value, even an empty one
    QString value;
};

Stored Unreadable()
{
    Stored stored;
    stored.readable = false;
    return stored;
}

// Every line a section, a key with its value, a comment or blank. The settings report a
// malformed file only the first time this process reads it, and then serve what they made of it.
bool WellFormed(const QByteArray& content)
{
    for (const QByteArray& raw : content.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
            continue;
        if (line.startsWith('[') ? !line.endsWith(']') : !line.contains('='))
            return false;
    }
    return true;
}

Stored ReadStored()
{
    const QString path = PasswordStorePath();
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return errno == ENOENT ? Stored() : Unreadable();
    // Read once by hand: the settings take a file they cannot open for an empty one.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !WellFormed(file.readAll()) || file.error() != QFileDevice::NoError)
        return Unreadable();
    const QSettings store(path, QSettings::IniFormat);
    if (store.status() != QSettings::NoError)
        return Unreadable();
    Stored stored;
    stored.present = store.contains(kPasswordValue);
    stored.value = store.value(kPasswordValue).toString();
    return stored;
}

// The file exists, with the store's mode, before it is written: the atomic write keeps the
// mode of an existing file but gives a new one whatever the umask allows.
bool PrepareStoreFile(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder)) {
        if (!QDir().mkpath(folder))
            return false;
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                          | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    }
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, kStoreMode);
    if (descriptor < 0)
        return false;
    const bool moded = ::fchmod(descriptor, kStoreMode) == 0;
    ::close(descriptor);
    return moded;
}

} // namespace

QString PasswordStorePath()
{
    const QString folder = afx::MachineSettingsFolder();
    CString title;
    title.LoadString(AFX_IDS_APP_TITLE);
    return QStringLiteral("%1/%2/%3.conf")
        .arg(folder, QString::fromLatin1(kSettingsCompany), afx::SettingsName(title));
}

BOOL PasswordStoreReadable()
{
    return ReadStored().readable;
}

BOOL CheckPassword(const CString& typed)
{
    const Stored stored = ReadStored();
    if (!stored.readable)
        return FALSE;
    if (stored.value.startsWith(QLatin1String(passwordhash::kPrefix)))
        return passwordhash::Matches(typed, stored.value.toLatin1());
    if (!passwordhash::SameBytes(QString(typed).toUtf8(), stored.value.toUtf8()))
        return FALSE;
    // An absent value stays absent; a plain-text one gives way to its hash.
    if (stored.present)
        WritePassword(typed);
    return TRUE;
}

BOOL WritePassword(const CString& password)
{
    const QByteArray hash = passwordhash::Hash(password);
    const QString path = PasswordStorePath();
    if (hash.isEmpty() || !PrepareStoreFile(path))
        return FALSE;
    // The whole store in one step, as the settings would write it: a write the disk refuses
    // or cuts short leaves the old password in force.
    try {
        afx::ReplaceFile(path, "[General]\n" + kPasswordValue.toLatin1() + '=' + hash + '\n');
    } catch (const CFileException&) {
        return FALSE;
    }
    return TRUE;
}
