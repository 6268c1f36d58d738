// Whole-file reads and writes: only regular files, bounded reads, and writes that replace
// the file in one step whatever happens to them.
#include "afx/core/file.h"

#include "cause.h"
#include "faultyio.h"
#include "otheruser.h"
#include "support/filesizelimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class WholeFileTest : public ::testing::Test {
public:
    QString Path(const QString& name) const { return folder.filePath(name); }

    void Put(const QString& name, const QByteArray& bytes) const
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray Get(const QString& name) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // Everything in the folder, hidden files too.
    QStringList Entries(const QString& sub = QString()) const
    {
        return QDir(Path(sub)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                         QDir::Name);
    }

    QTemporaryDir folder;
};

// The failure's cause and errno, or {-1, 0} when there was none.
std::pair<int, long> Failure(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CFileException& e) {
        return {e.m_cause, e.m_lOsError};
    }
    return {-1, 0};
}

// What the path itself is: a regular file, a link, a FIFO, a folder.
mode_t Kind(const QString& path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

mode_t Mode(const QString& path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

const QByteArray oldBytes = "ancien contenu";
const QByteArray newBytes = QByteArray("nouveau contenu ").repeated(500);

TEST_F(WholeFileTest, ReplacesTheFileKeepingItsPermissionsAndItsLink)
{
    Put("a.tms", oldBytes);
    ASSERT_EQ(0, ::chmod(QFile::encodeName(Path("a.tms")).constData(), 0640));
    ASSERT_TRUE(QFile::link(Path("a.tms"), Path("lien.tms")));
    afx::ReplaceFile(Path("lien.tms"), newBytes);
    EXPECT_EQ(newBytes, Get("a.tms"));
    EXPECT_EQ(Path("a.tms"), QFileInfo(Path("lien.tms")).symLinkTarget());
    EXPECT_EQ(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup,
              QFile::permissions(Path("a.tms")));

    afx::ReplaceFile(Path("neuf.tms"), "");
    EXPECT_EQ(QByteArray(), Get("neuf.tms"));
    EXPECT_EQ((QStringList{"a.tms", "lien.tms", "neuf.tms"}), Entries());
}

// Each target is made by the row; the write must fail with the cause, leave whatever stood
// there as it was, and leave no temporary file.
TEST_F(WholeFileTest, AWriteThatFailsLeavesTheTargetAsItWas)
{
    struct Row {
        const char* name;
        std::function<void(WholeFileTest&)> make;   // puts "dossier/cible" in place
        std::function<std::pair<int, long>(const QString& target)> write;
        int cause;
    };
    const auto plainWrite = [](const QString& target) { return Failure([&] { afx::ReplaceFile(target, newBytes); }); };
    const auto oldFile = [](WholeFileTest& t) { t.Put("dossier/cible", oldBytes); };
    // The old file, with that mode given to the file or its folder.
    const auto withMode = [](const char* name, mode_t mode) {
        return [name, mode](WholeFileTest& t) {
            t.Put("dossier/cible", oldBytes);
            ::chmod(QFile::encodeName(t.Path(name)).constData(), mode);
        };
    };
    const auto asOtherUser = [](const QString& target) {
        OtherUser other;
        return Failure([&] { afx::ReplaceFile(target, newBytes); });
    };
    const Row rows[] = {
        {"size limit", oldFile,
         [](const QString& target) {
             FileSizeLimit limit(100);
             return Failure([&] { afx::ReplaceFile(target, newBytes); });
         },
         CFileException::diskFull},
        {"full disk", oldFile,
         [](const QString& target) {
             faultyio::FailingWrites full(ENOSPC);
             return Failure([&] { afx::ReplaceFile(target, newBytes); });
         },
         CFileException::diskFull},
        {"read-only folder", withMode("dossier", 0555), asOtherUser, CFileException::accessDenied},
        {"read-only file", withMode("dossier/cible", 0444), asOtherUser, CFileException::accessDenied},
        {"FIFO", [](WholeFileTest& t) { ::mkfifo(QFile::encodeName(t.Path("dossier/cible")).constData(), 0644); },
         plainWrite, CFileException::invalidFile},
        {"link to a device", [](WholeFileTest& t) { QFile::link("/dev/null", t.Path("dossier/cible")); }, plainWrite,
         CFileException::invalidFile},
        {"folder", [](WholeFileTest& t) { QDir(t.Path("dossier")).mkdir("cible"); }, plainWrite,
         CFileException::invalidFile},
        {"another write under way",
         [](WholeFileTest& t) { t.Put("dossier/cible", oldBytes); },
         [](const QString& target) {
             // The other write holds its temporary file locked.
             const QByteArray temporary = QFile::encodeName(QFileInfo(target).path() + "/.cible.Xy3kP09q.tmp");
             const int other = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
             ::flock(other, LOCK_EX);
             const auto failure = Failure([&] { afx::ReplaceFile(target, newBytes); });
             ::close(other);
             ::unlink(temporary.constData());
             return failure;
         },
         CFileException::sharingViolation},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(QDir(folder.path()).mkdir("dossier"));
        ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
        row.make(*this);
        const QStringList before = Entries("dossier");
        const mode_t kind = Kind(Path("dossier/cible"));
        const QByteArray content = S_ISREG(kind) ? Get("dossier/cible") : QByteArray();
        const QString linkTarget = QFileInfo(Path("dossier/cible")).symLinkTarget();

        EXPECT_EQ(row.cause, row.write(Path("dossier/cible")).first);
        EXPECT_EQ(before, Entries("dossier"));
        EXPECT_EQ(kind, Kind(Path("dossier/cible")));
        EXPECT_EQ(linkTarget, QFileInfo(Path("dossier/cible")).symLinkTarget());
        if (S_ISREG(kind)) {
            EXPECT_EQ(content, Get("dossier/cible"));
        }

        ::chmod(QFile::encodeName(Path("dossier")).constData(), 0755);
        ASSERT_TRUE(QDir(Path("dossier")).removeRecursively());
    }
    EXPECT_EQ(-1, Failure([&] { afx::ReplaceFile(Path("ok.tms"), newBytes); }).first);   // the limits are gone
    EXPECT_EQ(CFileException::badPath, Failure([&] { afx::ReplaceFile(Path("absent/x.tms"), newBytes); }).first);
}

// A write killed at each of its steps: the target is the old file until the rename and the
// new one after it, never anything between; the next write takes over what was left.
TEST_F(WholeFileTest, AWriteKilledAtAnyStepLeavesAWholeFileAndTheNextWriteTidiesUp)
{
    struct Row {
        const char* name;
        int step;                // of write, fsync, rename, fsync (the folder)
        QByteArray left;
    };
    const Row rows[] = {
        {"half written", 1, oldBytes},
        {"written, not synced", 2, oldBytes},
        {"synced, not renamed", 3, oldBytes},
        {"renamed, folder not synced", 4, newBytes},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Put("cible.tms", oldBytes);
        const pid_t child = fork();
        ASSERT_NE(-1, child);
        if (child == 0) {
            faultyio::KillAt(row.step);
            try {
                afx::ReplaceFile(Path("cible.tms"), newBytes);
            } catch (...) {
            }
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(child, waitpid(child, &status, 0));
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the write ended before its step";
        EXPECT_EQ(row.left, Get("cible.tms"));
        const QStringList left = Entries();
        if (row.left == oldBytes) {
            ASSERT_EQ(2, left.size());
            EXPECT_TRUE(QRegularExpression(R"(^\.cible\.tms\.[A-Za-z0-9]{8}\.tmp$)").match(left[0]).hasMatch()) << qPrintable(left[0]);
            EXPECT_EQ(Mode(Path("cible.tms")), Mode(Path(left[0])));   // never more open than the target
        } else {
            EXPECT_EQ(QStringList{"cible.tms"}, left);
        }

        afx::ReplaceFile(Path("cible.tms"), "suivant");
        EXPECT_EQ("suivant", Get("cible.tms"));
        EXPECT_EQ(QStringList{"cible.tms"}, Entries());
    }
}

// What others may have put where a write's temporary file would go, in a folder everyone
// may write: never written into, followed or removed, and the saved file is ours alone.
TEST_F(WholeFileTest, WhatOthersPutBesideTheTargetIsLeftAlone)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "files of another owner can only be made as root (run as root to check them)";
    struct Row {
        const char* name;
        const char* planted;
        std::function<void(const QString& path)> make;
    };
    const auto fileOfTheirs = [](const QString& path) {
        OtherUser other;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(0, ::fchmod(file.handle(), 0666));
    };
    const Row rows[] = {
        {"their file under the old name", ".rapport.tms.tmp", fileOfTheirs},
        {"their file under a drawn name", ".rapport.tms.AbCdEf12.tmp", fileOfTheirs},
        {"a link to a file of ours", ".rapport.tms.AbCdEf12.tmp",
         [this](const QString& path) {
             Put("victime", oldBytes);
             ASSERT_TRUE(QFile::link(Path("victime"), path));
         }},
        {"a FIFO", ".rapport.tms.AbCdEf12.tmp", [](const QString& path) { ASSERT_EQ(0, ::mkfifo(QFile::encodeName(path).constData(), 0666)); }},
        {"a folder", ".rapport.tms.AbCdEf12.tmp", [](const QString& path) { ASSERT_TRUE(QDir().mkdir(path)); }},
    };
    ASSERT_EQ(0, ::chmod(QFile::encodeName(folder.path()).constData(), 01777));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString planted = Path(row.planted);
        row.make(planted);
        const QStringList before = Entries();
        const mode_t kind = Kind(planted);

        afx::ReplaceFile(Path("rapport.tms"), newBytes);
        EXPECT_EQ(newBytes, Get("rapport.tms"));
        struct stat saved;
        ASSERT_EQ(0, ::lstat(QFile::encodeName(Path("rapport.tms")).constData(), &saved));
        EXPECT_EQ(0u, saved.st_uid);
        EXPECT_EQ(0600u, saved.st_mode & 07777);
        EXPECT_EQ(kind, Kind(planted));
        QStringList expected = before;
        expected << "rapport.tms";
        expected.sort();
        EXPECT_EQ(expected, Entries());
        if (QFileInfo::exists(Path("victime"))) {
            EXPECT_EQ(oldBytes, Get("victime"));
        }
        if (S_ISREG(kind)) {
            EXPECT_EQ(QByteArray(), Get(row.planted));
        }
        for (const QString& entry : Entries()) {
            const QString path = Path(entry);
            if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink())
                QDir(path).removeRecursively();
            else
                QFile::remove(path);
        }
    }
}

// A new file holding secrets is its owner's alone whatever the umask; an ordinary document
// follows the umask; an existing file keeps its mode.
TEST_F(WholeFileTest, ANewFileGetsTheModeOfWhatItHolds)
{
    struct Row {
        const char* name;
        mode_t umask;
        afx::NewFileAccess access;
        mode_t existing;   // 0: no file before
        mode_t expected;
    };
    const Row rows[] = {
        {"secret, umask 022", 022, afx::NewFileAccess::ownerOnly, 0, 0600},
        {"secret, umask 077", 077, afx::NewFileAccess::ownerOnly, 0, 0600},
        {"secret, umask 000", 0, afx::NewFileAccess::ownerOnly, 0, 0600},
        {"document, umask 022", 022, afx::NewFileAccess::byUmask, 0, 0644},
        {"document, umask 077", 077, afx::NewFileAccess::byUmask, 0, 0600},
        {"secret over a 0644 file", 022, afx::NewFileAccess::ownerOnly, 0644, 0644},
        {"document over a 0640 file", 022, afx::NewFileAccess::byUmask, 0640, 0640},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(Path("f"));
        if (row.existing != 0) {
            Put("f", oldBytes);
            ASSERT_EQ(0, ::chmod(QFile::encodeName(Path("f")).constData(), row.existing));
        }
        const mode_t previous = ::umask(row.umask);
        afx::ReplaceFile(Path("f"), newBytes, row.access);
        ::umask(previous);
        EXPECT_EQ(row.expected, Mode(Path("f")));
    }
}
TEST_F(WholeFileTest, ReadsOnlyARegularFileWithinItsBound)
{
    Put("a.tms", "0123456789");
    ASSERT_EQ(0, ::mkfifo(QFile::encodeName(Path("fifo")).constData(), 0644));
    ASSERT_TRUE(QDir(folder.path()).mkdir("dossier"));
    {
        QFile huge(Path("énorme.tms"));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(1) << 40));   // sparse: no disk used
    }
    struct Row {
        const char* name;
        QString path;
        qint64 bound;
        std::pair<int, long> failure;
    };
    const Row rows[] = {
        {"at its bound", Path("a.tms"), 10, {-1, 0}},
        {"over its bound", Path("a.tms"), 9, {CFileException::invalidFile, EFBIG}},
        {"a terabyte", Path("énorme.tms"), 1 << 20, {CFileException::invalidFile, EFBIG}},
        {"endless device", "/dev/zero", 1 << 20, {CFileException::invalidFile, -1}},
        {"FIFO without a writer", Path("fifo"), 1 << 20, {CFileException::invalidFile, -1}},
        {"folder", Path("dossier"), 1 << 20, {CFileException::invalidFile, -1}},
        {"missing", Path("absent.tms"), 1 << 20, {CFileException::fileNotFound, ENOENT}},
        {"missing folder", Path("absent/a.tms"), 1 << 20, {CFileException::badPath, ENOENT}},
        // Says it is empty, and holds more than the bound: cut there.
        {"size that lies", "/proc/self/status", 100, {CFileException::invalidFile, EFBIG}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.failure, Failure([&] { afx::ReadWholeFile(row.path, row.bound); }));
    }
    EXPECT_EQ("0123456789", afx::ReadWholeFile(Path("a.tms"), 10));
    EXPECT_TRUE(afx::ReadWholeFile("/proc/self/status", 1 << 20).startsWith("Name:"));

    // Not while another program writes it.
    const int writer = ::open(QFile::encodeName(Path("a.tms")).constData(), O_WRONLY | O_CLOEXEC);
    ASSERT_EQ(0, ::flock(writer, LOCK_EX));
    EXPECT_EQ(CFileException::sharingViolation, Failure([&] { afx::ReadWholeFile(Path("a.tms"), 10); }).first);
    ::close(writer);

    // Read exclusively: not while anyone else merely reads it.
    const int reader = ::open(QFile::encodeName(Path("a.tms")).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(0, ::flock(reader, LOCK_SH));
    EXPECT_EQ("0123456789", afx::ReadWholeFile(Path("a.tms"), 10));
    EXPECT_EQ(CFileException::sharingViolation,
              Failure([&] { afx::ReadWholeFile(Path("a.tms"), 10, CFile::shareExclusive); }).first);
    ::close(reader);
    EXPECT_EQ("0123456789", afx::ReadWholeFile(Path("a.tms"), 10, CFile::shareExclusive));
}

} // namespace
