// Saving and loading a full settings record, beside copying the same number of bytes
// as a plain buffer and through an archive in one block: the per-value cost of the form.
#include "fullrecord.h"
#include "device/lib/config.h"
#include "device/lib/serialformat.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

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
