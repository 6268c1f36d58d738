// Writes the tests' full record (every section away from its factory values, the directory,
// mailboxes and client codes at their capacities), within the rules a device checks, to the
// file named, for the network bench.
#include "records.h"

#include "device/lib/serialformat.h"

#include <QFile>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    CConfig config;
    FillFullRecord(config);
    KeepWithinRules(config);
    QFile file(QString::fromLocal8Bit(argv[1]));
    const QByteArray bytes = serialformat::StoreToBytes(config);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? 0 : 1;
}
