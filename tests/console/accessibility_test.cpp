// Every window the snapshot tool renders, read as a screen reader reads it: each control that
// takes input or shows a list, and each window, has a name.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

namespace {

TEST(Accessibility, EveryRenderedControlHasAName)
{
    QTemporaryDir album;
    QProcess snapshot;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    snapshot.setProcessEnvironment(environment);
    snapshot.start(SNAPSHOT_PATH, {album.path()});
    ASSERT_TRUE(snapshot.waitForFinished(600000));
    ASSERT_EQ(snapshot.exitCode(), 0) << snapshot.readAllStandardError().toStdString();
    QFile index(album.filePath("index.json"));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    const QJsonArray pictures = QJsonDocument::fromJson(index.readAll()).object().value("pictures").toArray();
    ASSERT_FALSE(pictures.isEmpty());

    // Texts, pictures and frames are read as they are; these are what a user works with.
    const QSet<QString> named = {"Edit", "ComboBox", "ListBox", "SysListView32", "SysTreeView32",
                                 "SysDateTimePick32", "SysIPAddress32", "msctls_updown32", "Button"};
    QStringList unnamed;
    for (const QJsonValue& value : pictures) {
        const QJsonObject picture = value.toObject();
        const QString file = picture.value("file").toString();
        if (picture.value("name").toString().isEmpty())
            unnamed << file + ": the window";
        for (const QJsonValue& entry : picture.value("controls").toArray()) {
            const QJsonObject control = entry.toObject();
            // An item the program never addresses (IDC_STATIC) is a text or a frame.
            if (control.value("visible").toBool() && control.value("id").toInt() != -1
                && named.contains(control.value("kind").toString())
                && control.value("name").toString().isEmpty())
                unnamed << QStringLiteral("%1: %2 %3").arg(file, control.value("kind").toString()).arg(control.value("id").toInt());
        }
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.size() << " without a name:\n" << unnamed.join('\n').toStdString();
}

} // namespace
