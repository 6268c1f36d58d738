// A full settings record (directory at capacity, every field set) saved to and opened from a
// settings file through the console's document, beside the same content held in plain structs
// and written and read with QDataStream through a QFile (what a Qt program would do without a
// form of its own), and beside a plain copy of the record's bytes. The settings file is put in
// place as the console saves it, synced to the disk before it takes the file's name; the plain
// file is written over in place.
#include "device/lib/serialformat.h"
#include "document/ntsmgr.h"
#include "records.h"

#include <QDataStream>
#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

// The record's content as a Qt program would hold it: structs with QStrings in lists.
struct Dialing {
    QString faxNumber, secondNumber, name;
    qint32 dialLine = 0, maxSpeed = 0, printConfirmation = 0, monitorTone = 0, delayedDial = 0, delayHour = 0,
           delayMinute = 0, ituMailbox = 0;
    QString subAddress, pollingSubAddress, mailboxPassword, emailAddress;
    qint32 resolution = 0, compression = 0;
};
struct SpeedDial {
    qint32 number = 0;
    Dialing data;
};
struct OneTouch {
    qint32 number = 0;
    quint8 refKind = 0;   // none, own record, speed dial, group
    qint32 ref = 0;
    Dialing own;
};
struct Member {
    quint8 kind = 0;
    qint32 number = 0;
};
struct Group {
    qint32 number = 0;
    QString name;
    QList<Member> members;
};
struct MailBox {
    QString number, password;
    qint32 type = 0;
    QStringList destinations;
    qint32 reportDestKind = 0;
    QString reportDest;
};
struct ClientCode {
    qint32 id = 0, code = 0;
    QString name;
    qint32 sentPages = 0, receivedPages = 0, copiedPages = 0;
};
// A section of plain fields, field by field.
struct Section {
    QList<qint32> numbers;
    QStringList texts;
};
struct Record {
    QList<Section> sections;
    QList<SpeedDial> speedDials;
    QList<OneTouch> oneTouches;
    QList<Group> groups;
    QList<MailBox> mailBoxes;
    QList<ClientCode> clientCodes;
};

QDataStream& operator<<(QDataStream& s, const Dialing& d)
{
    return s << d.faxNumber << d.secondNumber << d.name << d.dialLine << d.maxSpeed << d.printConfirmation
             << d.monitorTone << d.delayedDial << d.delayHour << d.delayMinute << d.ituMailbox << d.subAddress
             << d.pollingSubAddress << d.mailboxPassword << d.emailAddress << d.resolution << d.compression;
}
QDataStream& operator>>(QDataStream& s, Dialing& d)
{
    return s >> d.faxNumber >> d.secondNumber >> d.name >> d.dialLine >> d.maxSpeed >> d.printConfirmation
             >> d.monitorTone >> d.delayedDial >> d.delayHour >> d.delayMinute >> d.ituMailbox >> d.subAddress
             >> d.pollingSubAddress >> d.mailboxPassword >> d.emailAddress >> d.resolution >> d.compression;
}
QDataStream& operator<<(QDataStream& s, const SpeedDial& e) { return s << e.number << e.data; }
QDataStream& operator>>(QDataStream& s, SpeedDial& e) { return s >> e.number >> e.data; }
QDataStream& operator<<(QDataStream& s, const OneTouch& e)
{
    s << e.number << e.refKind;
    return e.refKind == 1 ? s << e.own : s << e.ref;
}
QDataStream& operator>>(QDataStream& s, OneTouch& e)
{
    s >> e.number >> e.refKind;
    return e.refKind == 1 ? s >> e.own : s >> e.ref;
}
QDataStream& operator<<(QDataStream& s, const Member& m) { return s << m.kind << m.number; }
QDataStream& operator>>(QDataStream& s, Member& m) { return s >> m.kind >> m.number; }
QDataStream& operator<<(QDataStream& s, const Group& g) { return s << g.number << g.name << g.members; }
QDataStream& operator>>(QDataStream& s, Group& g) { return s >> g.number >> g.name >> g.members; }
QDataStream& operator<<(QDataStream& s, const MailBox& m)
{
    return s << m.number << m.password << m.type << m.destinations << m.reportDestKind << m.reportDest;
}
QDataStream& operator>>(QDataStream& s, MailBox& m)
{
    return s >> m.number >> m.password >> m.type >> m.destinations >> m.reportDestKind >> m.reportDest;
}
QDataStream& operator<<(QDataStream& s, const ClientCode& c)
{
    return s << c.id << c.code << c.name << c.sentPages << c.receivedPages << c.copiedPages;
}
QDataStream& operator>>(QDataStream& s, ClientCode& c)
{
    return s >> c.id >> c.code >> c.name >> c.sentPages >> c.receivedPages >> c.copiedPages;
}
QDataStream& operator<<(QDataStream& s, const Section& c) { return s << c.numbers << c.texts; }
QDataStream& operator>>(QDataStream& s, Section& c) { return s >> c.numbers >> c.texts; }
QDataStream& operator<<(QDataStream& s, const Record& r)
{
    return s << r.sections << r.speedDials << r.oneTouches << r.groups << r.mailBoxes << r.clientCodes;
}
QDataStream& operator>>(QDataStream& s, Record& r)
{
    return s >> r.sections >> r.speedDials >> r.oneTouches >> r.groups >> r.mailBoxes >> r.clientCodes;
}

// The fields of a section, copied into the plain form.
void Put(Section& section, int value) { section.numbers << value; }
void Put(Section& section, BYTE value) { section.numbers << value; }
void Put(Section& section, const CString& value) { section.texts << value; }
void Put(Section& section, const CInterval& value) { section.numbers << value.GetStartMinute() << value.GetStopMinute(); }
template <class T, std::size_t N>
void Put(Section& section, const T (&values)[N])
{
    for (const T& value : values)
        Put(section, value);
}
template <class Object>
void PutSection(Record& record, const Object& object)
{
    Section section;
    Object::Fields([&](const char*, auto field, const auto&) { Put(section, object.*field); });
    record.sections << section;
}
void PutSection(Record&, const CDepartmentCodes&) {}
void PutSection(Record&, const CMailBoxes&) {}
void PutSection(Record&, const CPhoneBook&) {}

Dialing Plain(const CDialingData& d)
{
    return {d.faxNumber, d.secondNumber, d.name, d.dialLine, d.maxSpeed, d.printConfirmation, d.monitorTone,
            d.delayedDial, d.delayHour, d.delayMinute, d.ituMailbox, d.subAddress, d.pollingSubAddress,
            d.mailboxPassword, d.emailAddress, d.resolution, d.compression};
}

template <class Entry, class Visit>
void ForEach(const CObList& list, Visit visit)
{
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        visit(*static_cast<const Entry*>(list.GetNext(pos)));
}

Record PlainRecord(const CConfig& config)
{
    Record record;
    CConfig::Sections([&](const char*, auto section) { PutSection(record, config.*section); });
    const CPhoneBook& book = config.phoneBook;
    ForEach<CSpeedDial>(book.GetSpeedDials(), [&](const CSpeedDial& e) {
        record.speedDials << SpeedDial{e.GetId(), Plain(*e.GetDialingData())};
    });
    ForEach<COneTouch>(book.GetOneTouches(), [&](const COneTouch& e) {
        OneTouch key;
        key.number = e.GetId();
        if (const CDialingData* own = e.GetDialingData()) {
            key.refKind = 1;
            key.own = Plain(*own);
        } else if (const auto* entry = dynamic_cast<const CIdObject*>(e.GetRef())) {
            key.refKind = entry->IsKindOf(RUNTIME_CLASS(CSpeedDial)) ? 2 : 3;
            key.ref = entry->GetId();
        }
        record.oneTouches << key;
    });
    ForEach<CGroupDial>(book.GetGroupDials(), [&](const CGroupDial& e) {
        Group group;
        group.number = e.GetId();
        group.name = e.name;
        ForEach<CIdObject>(e.members, [&](const CIdObject& member) {
            group.members << Member{quint8(member.IsKindOf(RUNTIME_CLASS(CSpeedDial)) ? 1 : 2), member.GetId()};
        });
        record.groups << group;
    });
    ForEach<CMailBox>(config.mailBoxes, [&](const CMailBox& m) {
        QStringList destinations;
        for (INT_PTR i = 0; i < m.destinations.GetSize(); ++i)
            destinations << m.destinations[i];
        record.mailBoxes << MailBox{m.number, m.password, m.type, destinations, m.reportDestKind, m.reportDest};
    });
    ForEach<CDepartmentCode>(config.clientCodes, [&](const CDepartmentCode& c) {
        record.clientCodes << ClientCode{c.GetId(), c.code, c.name, c.sentPages, c.receivedPages, c.copiedPages};
    });
    return record;
}

struct Fixture {
    Fixture()
    {
        FillFullRecord(document.config);
        bytes = serialformat::StoreToBytes(document.config);
        plain = PlainRecord(document.config);
    }
    QTemporaryDir folder;
    QString tmsPath = folder.filePath("full.tms");
    QString plainPath = folder.filePath("full.dat");
    CNtsMgr document;
    QByteArray bytes;
    Record plain;
};

Fixture& Full()
{
    static Fixture fixture;
    return fixture;
}

void SaveTmsFile(benchmark::State& state)
{
    Fixture& full = Full();
    for (auto _ : state) {
        if (!full.document.OnSaveDocument(full.tmsPath)) {
            state.SkipWithError("the save failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * full.bytes.size());
}

void OpenTmsFile(benchmark::State& state)
{
    Fixture& full = Full();
    full.document.OnSaveDocument(full.tmsPath);
    for (auto _ : state) {
        if (!full.document.OnOpenDocument(full.tmsPath)) {
            state.SkipWithError("the open failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * full.bytes.size());
}

// Written as a Qt program would: a QFile in a QDataStream, the stream's status checked, and
// the file's own commit checked.
bool WritePlain(const QString& path, const Record& record)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QDataStream out(&file);
    out << quint32(0x434D5354) << record;
    return out.status() == QDataStream::Ok && file.flush();
}

bool ReadPlain(const QString& path, Record& record)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QDataStream in(&file);
    quint32 magic = 0;
    Record loaded;
    in >> magic >> loaded;
    if (in.status() != QDataStream::Ok)
        return false;
    record = std::move(loaded);
    return true;
}

void SavePlainStructs(benchmark::State& state)
{
    Fixture& full = Full();
    for (auto _ : state) {
        if (!WritePlain(full.plainPath, full.plain)) {
            state.SkipWithError("the write failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * full.bytes.size());
}

void OpenPlainStructs(benchmark::State& state)
{
    Fixture& full = Full();
    WritePlain(full.plainPath, full.plain);
    Record record = full.plain;
    for (auto _ : state) {
        if (!ReadPlain(full.plainPath, record)) {
            state.SkipWithError("the read failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * full.bytes.size());
}

void CopyPlainBuffer(benchmark::State& state)
{
    const QByteArray& bytes = Full().bytes;
    QByteArray copy(bytes.size(), '\0');
    for (auto _ : state) {
        std::memcpy(copy.data(), bytes.constData(), static_cast<size_t>(bytes.size()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// The record alone into memory and back, without files.
void SaveFullRecord(benchmark::State& state)
{
    Fixture& full = Full();
    for (auto _ : state)
        benchmark::DoNotOptimize(serialformat::StoreToBytes(full.document.config));
    state.SetBytesProcessed(state.iterations() * full.bytes.size());
}

void LoadFullRecord(benchmark::State& state)
{
    Fixture& full = Full();
    CConfig target;
    for (auto _ : state)
        serialformat::LoadFromBytes(target, full.bytes);
    state.SetBytesProcessed(state.iterations() * full.bytes.size());
}

} // namespace

BENCHMARK(SaveTmsFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(SavePlainStructs)->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenTmsFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenPlainStructs)->Unit(benchmark::kMicrosecond);
BENCHMARK(CopyPlainBuffer)->Unit(benchmark::kMicrosecond);
BENCHMARK(SaveFullRecord)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadFullRecord)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
