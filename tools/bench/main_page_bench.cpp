// Composition of the editor's own main page, as the window shows it on a
// simulated pedal, against one memcpy of the same frame.
//
// BM_MainPageAgainstMemcpy is the figure we hold: memcpy and compose taken in
// turn in one process, five rounds of each, and the medians reported, so that
// a sitting in which the memory bus is busy slows both. With TOVAN_BENCH_PNG
// set, the composed page is written there once (to compare what is drawn
// before and after a change to the drawing code).
#include "editor/back_page.h"
#include "link/tovan_process.h"
#include "model/pedal_parameters.h"
#include "platform/clock.h"
#include "platform/hid/sim/sim_backend.h"
#include "resources/resources.h"
#include "toolkit/controls/control.h"
#include "toolkit/draw_context.h"
#include "toolkit/page_manager.h"
#include "toolkit/toolkit.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

constexpr int32_t kPageWidth = 640;
constexpr int32_t kPageHeight = 650;

// Time stands still unless a fade is to be finished.
class StillClock : public Clock {
public:
    uint32_t milliseconds() const override { return now; }
    uint32_t now = 1000;
};

// The main page as the editor builds it: the page manager, the page, its first
// show, the pedal connected and read in full, filter 1 in LFO mode, every fade
// finished.
struct MainPage {
    MainPage() {
        toolkitStart();
        setProgramResources(&tovanProgramResources());
        context = CCDrawContext::createOffscreen(kPageWidth, kPageHeight);
        manager = std::make_unique<CCPageManager>(CCRect{0, 0, kPageWidth, kPageHeight}, &clock, false);
        process = std::make_unique<TovanProcess>(backend);
        process->exchange().setSleeper([](std::chrono::milliseconds) {});
        process->setListener(manager.get());
        manager->attachWindow(nullptr, context.get(), process.get());
        manager->setOpen(true);
        process->Open();
        page = manager->addChild(std::make_unique<CBackPage>(CCRect{0, 0, kPageWidth, kPageHeight}, nullptr));
        process->setView(page);
        page->setProcess(process.get());
        page->pageShown();
        if (!process->session().connect()) throw std::runtime_error("the simulated pedal did not connect");
        process->session().reloadLocked(true);
        // Filter 1 in LFO mode, as a player would set it, so that the page
        // shows the LFO display beside the filter display.
        auto* mode = dynamic_cast<CControl*>(page->findByTag(ptag::kControlMode));
        if (mode == nullptr) throw std::runtime_error("the page has no filter mode");
        mode->setValue(1, Notify::yes, Redraw::yes, SelfOnly::yes);
        clock.now += 10000;
        manager->fades().runPass();
        compose();
        if (const char* png = std::getenv("TOVAN_BENCH_PNG"); png != nullptr && *png != '\0')
            if (!context->writePng(png)) throw std::runtime_error("the page could not be written");
    }
    ~MainPage() {
        manager->attachWindow(nullptr, nullptr, nullptr);
        manager->removeChild(page);
        process.reset();
        manager.reset();
        context.reset();
        setProgramResources(nullptr);
        toolkitStop();
    }

    void compose() {
        manager->redraw(*context, nullptr);
        benchmark::DoNotOptimize(context->surface().data());
        benchmark::ClobberMemory();
    }

    StillClock clock;
    tovan::SimHidBackend backend;
    std::unique_ptr<CCDrawContext> context;
    std::unique_ptr<CCPageManager> manager;
    std::unique_ptr<TovanProcess> process;
    CBackPage* page = nullptr;
};

void BM_ComposeMainPage(benchmark::State& state) {
    MainPage page;
    for (auto _ : state)
        page.compose();
}
BENCHMARK(BM_ComposeMainPage)->Unit(benchmark::kMicrosecond);

// Microseconds per call of `work`, run for about `budget`.
template <typename Work>
double timePerCall(Work work, std::chrono::microseconds budget) {
    using Steady = std::chrono::steady_clock;
    work(); // warm the caches
    int64_t calls = 0;
    const Steady::time_point start = Steady::now();
    Steady::time_point now = start;
    while (now - start < budget) {
        for (int i = 0; i < 8; ++i)
            work();
        calls += 8;
        now = Steady::now();
    }
    return std::chrono::duration<double, std::micro>(now - start).count() / static_cast<double>(calls);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void BM_MainPageAgainstMemcpy(benchmark::State& state) {
    constexpr int kRounds = 5;
    constexpr std::chrono::microseconds kBudget{100000};
    MainPage page;
    const size_t bytes = size_t(kPageWidth) * kPageHeight * 4;
    std::vector<uint8_t> src(bytes, 0x5A), dst(bytes);
    auto copy = [&] {
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    };
    std::vector<double> copies, composes;
    for (auto _ : state) {
        copies.clear();
        composes.clear();
        for (int round = 0; round < kRounds; ++round) {
            copies.push_back(timePerCall(copy, kBudget));
            composes.push_back(timePerCall([&] { page.compose(); }, kBudget));
        }
    }
    const double memcpyUs = median(copies);
    const double composeUs = median(composes);
    state.counters["memcpy_us"] = memcpyUs;
    state.counters["compose_us"] = composeUs;
    state.counters["ratio"] = composeUs / memcpyUs;
    state.counters["memcpy_us_max"] = *std::max_element(copies.begin(), copies.end());
    state.counters["compose_us_max"] = *std::max_element(composes.begin(), composes.end());
}
BENCHMARK(BM_MainPageAgainstMemcpy)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
