// Exchanges with the simulated pedal: how many each link operation needs,
// and how close a full reload comes to the pedal's own pace.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "link/tovan_process.h"
#include "platform/hid/sim/sim_backend.h"
#include "platform/hid/virtual/virtual_backend.h"

extern char** environ;

namespace {

struct Rig {
    explicit Rig(std::chrono::microseconds latency = {}) : process(backend, &page) {
        process.Open();
        process.session().connect();
        process.session().reloadLocked(true);
        backend.setLatency(latency);
    }
    ~Rig() { process.session().attachedPedals().clear(); }

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
    countExchanges(state, [](TovanProcess& process) { process.session().reload(true); });
}

void BM_ValueReloadExchanges(benchmark::State& state) {
    countExchanges(state, [](TovanProcess& process) { process.session().reload(false); });
}

void BM_StatusPollExchanges(benchmark::State& state) {
    countExchanges(state, [](TovanProcess& process) { process.session().pollStatus(); });
}

void BM_OneEditExchanges(benchmark::State& state) {
    int value = 0;
    countExchanges(state, [&](TovanProcess& process) {
        process.values().sendParameter(9, static_cast<float>(++value % 100));
    });
}

// The full reload with every report taking 1 ms on the pedal: wall time
// against reports x 1 ms.
void BM_FullReloadAtOneMillisecond(benchmark::State& state) {
    Rig rig(std::chrono::microseconds(1000));
    double reports = 0;
    for (auto _ : state) {
        const uint64_t before = rig.counters().outputReports + rig.counters().inputReports;
        rig.process.session().reload(true);
        reports = static_cast<double>(rig.counters().outputReports + rig.counters().inputReports - before);
    }
    state.counters["reports"] = reports;
    state.counters["paced_ms"] = reports;
}

// A whole backup as the editor takes it (backup().read(): the pedal's place, the
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
        const BackupRestore::BackupRead backup = rig.process.backup().read();
        wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        reports = static_cast<double>(rig.counters().outputReports + rig.counters().inputReports - before);
        if (!backup.failure.empty() || backup.bytes.empty()) state.SkipWithError(backup.failure.c_str());
    }
    state.counters["reports"] = reports;
    state.counters["wall_ms"] = wallMs;
    state.counters["ratio"] = reports > 0 ? wallMs / reports : 0;
}

// Counts the reports that went through: each write and each input report
// that completed.
class CountingHandle : public tovan::HidHandle {
public:
    CountingHandle(std::unique_ptr<tovan::HidHandle> inner, std::shared_ptr<std::atomic<uint64_t>> reports)
        : inner(std::move(inner)), reports(std::move(reports)) {}
    tovan::HidStatus write(const tovan::HidReport& report, std::chrono::milliseconds timeout) override {
        return counted(inner->write(report, timeout));
    }
    tovan::HidStatus getInputReport(tovan::HidReport& report, std::chrono::milliseconds timeout) override {
        return counted(inner->getInputReport(report, timeout));
    }
    std::unique_ptr<tovan::HidHandle> duplicate() const override {
        auto copy = inner->duplicate();
        return copy ? std::make_unique<CountingHandle>(std::move(copy), reports) : nullptr;
    }

private:
    tovan::HidStatus counted(tovan::HidStatus status) {
        if (status == tovan::HidStatus::ok) reports->fetch_add(1, std::memory_order_relaxed);
        return status;
    }
    std::unique_ptr<tovan::HidHandle> inner;
    std::shared_ptr<std::atomic<uint64_t>> reports;
};

class CountingBackend : public tovan::HidBackend {
public:
    explicit CountingBackend(const std::string& folder) : inner(folder) {}
    std::optional<std::vector<std::string>> enumerate() override { return inner.enumerate(); }
    std::unique_ptr<tovan::HidHandle> open(const std::string& path) override {
        auto handle = inner.open(path);
        return handle ? std::make_unique<CountingHandle>(std::move(handle), reports) : nullptr;
    }
    std::unique_ptr<tovan::HotplugMonitor> watch(std::function<void()>) override { return nullptr; }

    uint64_t count() const { return reports->load(std::memory_order_relaxed); }

private:
    tovan::VirtualHidBackend inner;
    std::shared_ptr<std::atomic<uint64_t>> reports = std::make_shared<std::atomic<uint64_t>>(0);
};

// A tovan-pedal-sim of its own (the one built beside this program) on a bus
// folder of its own, every report taking `latencyUs` on the pedal.
class PedalSimProcess {
public:
    explicit PedalSimProcess(long latencyUs) {
        char folderTemplate[] = "/tmp/tovan-bench-bus-XXXXXX";
        if (mkdtemp(folderTemplate) == nullptr) throw std::runtime_error("no bus folder");
        folder = folderTemplate;
        const std::string program =
            (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "tovan-pedal-sim").string();
        const std::string latency = std::to_string(latencyUs);
        int out[2];
        if (pipe(out) != 0) throw std::runtime_error("no pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const char* argv[] = {program.c_str(), "--dir",         folder.c_str(),
                              "--latency-us",  latency.c_str(), nullptr};
        const int spawned =
            posix_spawn(&pid, program.c_str(), &actions, nullptr, const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        if (spawned != 0) {
            close(out[0]);
            throw std::runtime_error(program + " could not be started");
        }
        FILE* from = fdopen(out[0], "r");
        char line[64] = {};
        const bool ready = from != nullptr && std::fgets(line, sizeof line, from) != nullptr &&
                           std::string(line).starts_with("ready");
        if (from != nullptr) std::fclose(from);
        if (!ready) {
            stop();
            throw std::runtime_error("tovan-pedal-sim did not say it was ready");
        }
    }
    ~PedalSimProcess() { stop(); }
    PedalSimProcess(const PedalSimProcess&) = delete;
    PedalSimProcess& operator=(const PedalSimProcess&) = delete;

    std::string folder;

private:
    void stop() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
            pid = 0;
        }
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    pid_t pid = 0;
};

// An operation through the virtual bus, as the editor reaches a pedal: a
// tovan-pedal-sim process answering on a socket, 1 ms a report. Reports the
// reports that completed on the link's side and the wall time against them.
template <typename Operation>
void overVirtualBusAtOneMillisecond(benchmark::State& state, Operation operation) {
    try {
        PedalSimProcess pedal(1000);
        CountingBackend backend(pedal.folder);
        PedalView page;
        TovanProcess process(backend, &page);
        process.Open();
        if (!process.session().connect()) {
            state.SkipWithError("the pedal on the virtual bus did not connect");
            return;
        }
        process.session().reloadLocked(true);
        double reports = 0;
        double wallMs = 0;
        for (auto _ : state) {
            const uint64_t before = backend.count();
            const auto start = std::chrono::steady_clock::now();
            const std::string failure = operation(process);
            wallMs =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            reports = static_cast<double>(backend.count() - before);
            if (!failure.empty()) state.SkipWithError(failure.c_str());
        }
        state.counters["reports"] = reports;
        state.counters["wall_ms"] = wallMs;
        state.counters["ratio"] = reports > 0 ? wallMs / reports : 0;
        process.session().attachedPedals().clear();
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

void BM_BackupOverVirtualBusAtOneMillisecond(benchmark::State& state) {
    overVirtualBusAtOneMillisecond(state, [](TovanProcess& process) -> std::string {
        const BackupRestore::BackupRead backup = process.backup().read();
        if (!backup.failure.empty()) return backup.failure;
        return backup.bytes.empty() ? "the backup is empty" : "";
    });
}

// The full reload the editor's start makes, through the virtual bus.
void BM_FullReloadOverVirtualBusAtOneMillisecond(benchmark::State& state) {
    overVirtualBusAtOneMillisecond(state, [](TovanProcess& process) -> std::string {
        process.session().reload(true);
        return process.session().isConnected() ? "" : "the pedal was lost during the reload";
    });
}

} // namespace

BENCHMARK(BM_FullReloadExchanges)->Iterations(3);
BENCHMARK(BM_ValueReloadExchanges)->Iterations(20);
BENCHMARK(BM_StatusPollExchanges)->Iterations(100);
BENCHMARK(BM_OneEditExchanges)->Iterations(100);
BENCHMARK(BM_FullReloadAtOneMillisecond)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BackupAtOneMillisecond)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BackupOverVirtualBusAtOneMillisecond)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_FullReloadOverVirtualBusAtOneMillisecond)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
