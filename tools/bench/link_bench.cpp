// Exchanges with the simulated pedal: how many each link operation needs,
// and how close a full reload comes to the pedal's own pace.
#include <benchmark/benchmark.h>

#include <chrono>

#include "link/tovan_process.h"
#include "platform/hid/sim/sim_backend.h"

namespace {

struct Rig {
    explicit Rig(std::chrono::microseconds latency = {}) : process(backend, &page) {
        process.Open();
        process.connectPedal();
        process.reloadLocked(true);
        backend.setLatency(latency);
    }
    ~Rig() { process.attachedPedals().clear(); }

    const tovan::sim::Counters& counters() { return backend.pedal(0).counters(); }

    tovan::SimHidBackend backend;
    // A page without controls: the reload still reads what the menus list.
    PedalView page;
    TovanProcess process;
};

template <typename Operation>
void countExchanges(benchmark::State& state, Operation operation) {
    Rig rig;
    uint64_t exchanges = 0;
    uint64_t reports = 0;
    for (auto _ : state) {
        const uint64_t exchangesBefore = rig.counters().exchanges;
        const uint64_t reportsBefore = rig.counters().outputReports + rig.counters().inputReports;
        operation(rig.process);
        exchanges = rig.counters().exchanges - exchangesBefore;
        reports = rig.counters().outputReports + rig.counters().inputReports - reportsBefore;
    }
    state.counters["exchanges"] = static_cast<double>(exchanges);
    state.counters["reports"] = static_cast<double>(reports);
}

void BM_FullReloadExchanges(benchmark::State& state) {
    countExchanges(state, [](TovanProcess& process) { process.reload(true); });
}

void BM_ValueReloadExchanges(benchmark::State& state) {
    countExchanges(state, [](TovanProcess& process) { process.reload(false); });
}

void BM_StatusPollExchanges(benchmark::State& state) {
    countExchanges(state, [](TovanProcess& process) { process.pollStatus(); });
}

void BM_OneEditExchanges(benchmark::State& state) {
    int value = 0;
    countExchanges(
        state, [&](TovanProcess& process) { process.sendParameter(9, static_cast<float>(++value % 100)); });
}

// The full reload with every report taking 1 ms on the pedal: wall time
// against reports x 1 ms.
void BM_FullReloadAtOneMillisecond(benchmark::State& state) {
    Rig rig(std::chrono::microseconds(1000));
    double reports = 0;
    for (auto _ : state) {
        const uint64_t before = rig.counters().outputReports + rig.counters().inputReports;
        rig.process.reload(true);
        reports = static_cast<double>(rig.counters().outputReports + rig.counters().inputReports - before);
    }
    state.counters["reports"] = reports;
    state.counters["paced_ms"] = reports;
}

// A whole backup as the editor takes it (readBackup: the pedal's place, the
// globals, the setlists, then each user preset selected, awaited through the
// status and read, the pedal put back), every report taking 1 ms on the
// pedal. The waits between status reads count in the wall time.
void BM_BackupAtOneMillisecond(benchmark::State& state) {
    Rig rig(std::chrono::microseconds(1000));
    double reports = 0;
    double wallMs = 0;
    for (auto _ : state) {
        const uint64_t before = rig.counters().outputReports + rig.counters().inputReports;
        const auto start = std::chrono::steady_clock::now();
        const TovanProcess::BackupRead backup = rig.process.readBackup();
        wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        reports = static_cast<double>(rig.counters().outputReports + rig.counters().inputReports - before);
        if (!backup.failure.empty() || backup.bytes.empty()) state.SkipWithError(backup.failure.c_str());
    }
    state.counters["reports"] = reports;
    state.counters["wall_ms"] = wallMs;
    state.counters["ratio"] = reports > 0 ? wallMs / reports : 0;
}

} // namespace

BENCHMARK(BM_FullReloadExchanges)->Iterations(3);
BENCHMARK(BM_ValueReloadExchanges)->Iterations(20);
BENCHMARK(BM_StatusPollExchanges)->Iterations(100);
BENCHMARK(BM_OneEditExchanges)->Iterations(100);
BENCHMARK(BM_FullReloadAtOneMillisecond)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BackupAtOneMillisecond)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
