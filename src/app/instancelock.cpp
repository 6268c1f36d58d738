#include "app/instancelock.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

CInstanceLock::~CInstanceLock()
{
    if (descriptor != -1)
        ::close(descriptor);
}

CInstanceLock::Result CInstanceLock::Acquire(const QString& path)
{
    const int file = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (file == -1)
        return unavailable;
    if (::flock(file, LOCK_EX | LOCK_NB) == -1) {
        const int error = errno;
        ::close(file);
        return error == EWOULDBLOCK ? heldElsewhere : unavailable;
    }
    descriptor = file;
    return acquired;
}

QString CInstanceLock::DefaultPath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("MyTestMap"));
}
