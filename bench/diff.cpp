// What `tamselctl diff` does with two full records beside loading them: loading both settings
// files' bytes (the floor), and loading them, comparing them field by field and wording the
// differences. The second record has its directory's names and a machine field changed.
#include "device/lib/config.h"
#include "device/lib/recorddiff.h"
#include "device/lib/serialformat.h"
#include "records.h"
#include "recordwording/recordwording.h"

#include <benchmark/benchmark.h>

namespace {

struct Records {
    Records()
    {
        CConfig before, after;
        FillFullRecord(before);
        FillFullRecord(after);
        after.machine.companyName = "Autre société";
        CObList& speedDials = after.phoneBook.GetSpeedDials();
        for (POSITION position = speedDials.GetHeadPosition(); position != nullptr;) {
            CDialingData* data = static_cast<CSpeedDial*>(speedDials.GetNext(position))->GetDialingData();
            data->name = data->name.Left(19) + "2";
        }
        first = serialformat::StoreToBytes(before);
        second = serialformat::StoreToBytes(after);
    }
    QByteArray first, second;
};

const Records& Full()
{
    static const Records records;
    return records;
}

void BM_LoadBothRecords(benchmark::State& state)
{
    for (auto _ : state) {
        CConfig before, after;
        serialformat::LoadFromBytes(before, Full().first);
        serialformat::LoadFromBytes(after, Full().second);
        benchmark::DoNotOptimize(&after);
    }
}

void BM_DiffRecords(benchmark::State& state)
{
    size_t lines = 0;
    for (auto _ : state) {
        CConfig before, after;
        serialformat::LoadFromBytes(before, Full().first);
        serialformat::LoadFromBytes(after, Full().second);
        lines = static_cast<size_t>(WordDifferences(DiffRecords(before, after)).GetSize());
    }
    state.counters["lines"] = static_cast<double>(lines);
}

} // namespace

BENCHMARK(BM_LoadBothRecords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiffRecords)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
