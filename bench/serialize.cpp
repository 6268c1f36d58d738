// Saving and loading a full settings record, beside copying the same number of bytes
// as a plain buffer and through an archive in one block: the per-value cost of the form.
#include "device/lib/config.h"
#include "device/lib/serialformat.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

// Directory, mailboxes and client codes at their capacities, with names and numbers of
// realistic lengths.
std::unique_ptr<CConfig> FullRecord()
{
    auto config = std::make_unique<CConfig>();
    CPhoneBook& book = config->phoneBook;
    for (int n = 1; n <= CSpeedDial::max_count; ++n) {
        auto* entry = new CSpeedDial(n);
        entry->GetDialingData()->name = QString("Correspondant %1").arg(n);
        entry->GetDialingData()->faxNumber = QString("01 40 50 %1$123").arg(n, 4, 10, QChar('0'));
        book.Add(entry);
    }
    for (int n = 1; n <= COneTouch::max_count; ++n)
        book.Add(new COneTouch(n, n % 2 == 0 ? static_cast<CObject*>(book.GetSpeedDial(n)) : book.NewDialingData()));
    for (int n = 1; n <= CGroupDial::max_count; ++n) {
        auto* group = new CGroupDial(n, QString("Groupe %1").arg(n));
        for (int m = 0; m < 4; ++m)
            group->members.AddTail(book.GetSpeedDial((n * 13 + m * 101) % CSpeedDial::max_count + 1));
        book.Add(group);
    }
    for (int n = 1; n <= CMailBox::max_count; ++n) {
        CStringArray destinations;
        for (int d = 1; d <= CMailBox::max_relay_dest_count; ++d)
            destinations.Add(FormatId(d, CSpeedDial::digits));
        config->mailBoxes.Add(new CMailBox(QString::number(1000 + n), "secret", 2, &destinations, 2, "001"));
    }
    for (int id = 1; id <= CDepartmentCode::max_count; ++id)
        config->clientCodes.Add(new CDepartmentCode(id, 500 + id, QString("Service %1").arg(id), id, id, id));
    return config;
}

struct Fixture {
    std::unique_ptr<CConfig> config = FullRecord();
    QByteArray bytes = serialformat::StoreToBytes(*config);
};

Fixture& Full()
{
    static Fixture fixture;
    return fixture;
}

void SaveFullRecord(benchmark::State& state)
{
    Fixture& full = Full();
    for (auto _ : state)
        benchmark::DoNotOptimize(serialformat::StoreToBytes(*full.config));
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

// The same bytes written and read back through a memory file and an archive in one block.
class Block : public CObject {
public:
    explicit Block(QByteArray& bytes) : bytes(bytes) {}
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar.Write(bytes.constData(), static_cast<UINT>(bytes.size()));
        else
            ar.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    }

private:
    QByteArray& bytes;
};

void ArchiveBlockRoundTrip(benchmark::State& state)
{
    QByteArray bytes = Full().bytes;
    Block block(bytes);
    for (auto _ : state)
        serialformat::LoadFromBytes(block, serialformat::StoreToBytes(block));
    state.SetBytesProcessed(state.iterations() * 2 * bytes.size());
}

} // namespace

BENCHMARK(SaveFullRecord)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadFullRecord)->Unit(benchmark::kMicrosecond);
BENCHMARK(CopyPlainBuffer)->Unit(benchmark::kMicrosecond);
BENCHMARK(ArchiveBlockRoundTrip)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
