// Recovery copies are written after a pause in the work. The user-interface thread only
// copies the record and hands it over; the writer thread puts it on disk (temporary
// file and rename, no flush to disk). Both costs are measured on a real disk.
#include <benchmark/benchmark.h>

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>

#include "app/Recovery.h"
#include "bench/BenchSupport.h"
#include "model/GeoSetRecord.h"

namespace {

const qm::TRecoveryInfo Info{"/home/user/maps/keep.map", "", false, QDateTime::currentDateTime(), {}};

// What the user-interface thread pays when the debounce timer fires.
void HandMapCopyToWriter(benchmark::State& state) {
    QTemporaryDir folder(QDir::homePath() + "/.cache/qm-bench-XXXXXX"); // a real disk, not tmpfs
    qm::TRecoveryStore store(folder.path());
    const qm::TMapRecord map = qmbench::FullSampleMap(16);
    for (auto _ : state) {
        store.Write(qm::TRecoveryKind::Map, &map, sizeof map, Info);
        state.PauseTiming();
        store.Flush();
        state.ResumeTiming();
    }
    store.RemoveAll();
}
BENCHMARK(HandMapCopyToWriter)->Unit(benchmark::kMicrosecond);

// The whole write, on the writer thread: how long until the copy is in place.
template <class Record> void WriteCopyToDisk(benchmark::State& state, qm::TRecoveryKind kind, const Record& record) {
    QTemporaryDir folder(QDir::homePath() + "/.cache/qm-bench-XXXXXX");
    qm::TRecoveryStore store(folder.path());
    for (auto _ : state) {
        store.Write(kind, &record, sizeof record, Info);
        store.Flush();
    }
    store.RemoveAll();
}

void WriteMapCopyToDisk(benchmark::State& state) {
    WriteCopyToDisk(state, qm::TRecoveryKind::Map, qmbench::FullSampleMap(16));
}
BENCHMARK(WriteMapCopyToDisk)->Unit(benchmark::kMillisecond)->UseRealTime();

void WriteGeoSetCopyToDisk(benchmark::State& state) {
    WriteCopyToDisk(state, qm::TRecoveryKind::GeoSet, qm::TGeoSetRecord{});
}
BENCHMARK(WriteGeoSetCopyToDisk)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
