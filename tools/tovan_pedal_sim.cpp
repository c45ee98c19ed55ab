// tovan-pedal-sim: one or more simulated pedals on the virtual bus, for the
// editor, tovan-cli and the tests. Prints "ready" and the socket paths once the
// pedals are plugged in; removes the sockets when it stops.

#include "platform/hid/virtual/virtual_backend.h"
#include "sim/bus_server.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <sys/prctl.h>

namespace {

volatile std::sig_atomic_t stopRequested = 0;
volatile std::sig_atomic_t dumpRequested = 0;
// Toggled by SIGUSR2: the player only rocks the pedal (its presets and knobs
// stay as they are, so that what is read of them can be compared).
volatile std::sig_atomic_t rockOnly = 0;

void onStop(int) {
    stopRequested = 1;
}
void onDump(int) {
    dumpRequested = 1;
}
void onRockOnly(int) {
    rockOnly = !rockOnly;
}

void usage() {
    std::fputs(
        "usage: tovan-pedal-sim [--dir DIR] [--count N] [--name NAME] [--firmware X.Y.Z]\n"
        "                       [--latency-us N] [--fault-rate R] [--play] [--state-file FILE]\n"
        "                       [--fail-rate R] [--drop-rate R] [--late-rate R] [--late-us N]\n"
        "                       [--unplug-after N] [--seed N] [--play-interval-ms N] [--play-log FILE]\n"
        "  --fault-rate R   share of reports (0..1) that fail, vanish or come late, in equal parts\n"
        "  --play-log FILE  a line a played step: play <monotonic microseconds> <pedal> <what>, then what\n"
        "                   it left: the active preset (0-199) and both filters' live frequency and height\n"
        "  SIGUSR1 writes the state file; SIGUSR2 makes the player only rock the pedal, or all again\n",
        stderr);
}

bool writeState(const std::string& file, const std::string& json) {
    const std::string temporary = file + ".tmp";
    {
        std::ofstream out(temporary, std::ios::trunc);
        if (!out) return false;
        out << json << '\n';
        if (!out.flush()) return false;
    }
    return std::rename(temporary.c_str(), file.c_str()) == 0;
}

bool parseNumber(const char* text, double& out) {
    char* end = nullptr;
    out = std::strtod(text, &end);
    return end != text && *end == 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string dir;
    std::string name = "Tovan";
    std::string stateFile;
    std::string playLogFile;
    int count = 1;
    std::array<uint8_t, 3> firmware{1, 5, 0};
    long latencyUs = 0;
    tovan::sim::Faults faults;
    faults.lateMicros = 3000000; // past the editor's time-out unless told otherwise
    bool play = false;
    long playIntervalMs = 300;

    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--play") {
            play = true;
            continue;
        }
        if (option == "--help" || option == "-h") {
            usage();
            return 0;
        }
        if (i + 1 >= argc) {
            usage();
            return 2;
        }
        const char* value = argv[++i];
        double number = 0;
        const bool numeric = parseNumber(value, number);
        if (option == "--dir") {
            dir = value;
        } else if (option == "--name") {
            name = value;
        } else if (option == "--state-file") {
            stateFile = value;
        } else if (option == "--play-log") {
            playLogFile = value;
        } else if (option == "--firmware") {
            unsigned a, b, c;
            if (std::sscanf(value, "%u.%u.%u", &a, &b, &c) != 3 || a > 255 || b > 255 || c > 255) {
                usage();
                return 2;
            }
            firmware = {uint8_t(a), uint8_t(b), uint8_t(c)};
        } else if (!numeric || number < 0) {
            usage();
            return 2;
        } else if (option == "--count" && number >= 1 && number <= 64) {
            count = static_cast<int>(number);
        } else if (option == "--latency-us") {
            latencyUs = static_cast<long>(number);
        } else if (option == "--fault-rate" && number <= 1) {
            faults.failRate = faults.dropRate = faults.lateRate = number / 3;
        } else if (option == "--fail-rate" && number <= 1) {
            faults.failRate = number;
        } else if (option == "--drop-rate" && number <= 1) {
            faults.dropRate = number;
        } else if (option == "--late-rate" && number <= 1) {
            faults.lateRate = number;
        } else if (option == "--late-us") {
            faults.lateMicros = static_cast<uint32_t>(number);
        } else if (option == "--unplug-after") {
            faults.unplugAfter = static_cast<int64_t>(number);
        } else if (option == "--seed") {
            faults.seed = static_cast<uint32_t>(number);
        } else if (option == "--play-interval-ms" && number >= 1) {
            playIntervalMs = static_cast<long>(number);
        } else {
            usage();
            return 2;
        }
    }

    struct sigaction stop {};
    stop.sa_handler = onStop;
    sigaction(SIGTERM, &stop, nullptr);
    sigaction(SIGINT, &stop, nullptr);
    struct sigaction dump {};
    dump.sa_handler = onDump;
    sigaction(SIGUSR1, &dump, nullptr);
    struct sigaction rock {};
    rock.sa_handler = onRockOnly;
    sigaction(SIGUSR2, &rock, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    // The server's sleeps end just before an answer is due; the default
    // slack of 50 us would let them end later.
    ::prctl(PR_SET_TIMERSLACK, 1000UL);
    tovan::sim::BusServer server(tovan::virtualBusFolder(dir));
    server.setLatency(std::chrono::microseconds(latencyUs));
    for (int i = 0; i < count; ++i) {
        tovan::sim::SimOptions options;
        options.name = count > 1 ? name + " " + std::to_string(i + 1) : name;
        options.firmware = firmware;
        options.serial = static_cast<unsigned>(i + 1);
        auto pedal = std::make_unique<tovan::sim::SimPedal>(options);
        tovan::sim::Faults own = faults;
        own.seed = faults.seed + static_cast<uint32_t>(i);
        pedal->setFaults(own);
        std::string error;
        if (!server.addPedal(std::move(pedal), error)) {
            std::fprintf(stderr, "tovan-pedal-sim: %s\n", error.c_str());
            return 1;
        }
    }
    std::printf("ready\n");
    for (size_t i = 0; i < server.pedalCount(); ++i)
        std::printf("%s\n", server.socketPath(i).c_str());
    std::fflush(stdout);

    std::FILE* playLog = nullptr;
    if (!playLogFile.empty() && (playLog = std::fopen(playLogFile.c_str(), "w")) == nullptr) {
        std::fprintf(stderr, "tovan-pedal-sim: cannot write %s\n", playLogFile.c_str());
        return 1;
    }
    std::mt19937 random(faults.seed);
    auto nextPlay = std::chrono::steady_clock::now();
    while (!stopRequested) {
        server.runOnce(std::chrono::milliseconds(50));
        if (play && std::chrono::steady_clock::now() >= nextPlay) {
            for (size_t i = 0; i < server.pedalCount(); ++i) {
                if (!server.plugged(i)) continue;
                const char* what = "pedal";
                if (rockOnly)
                    server.pedal(i).setPedalPosition(static_cast<unsigned>(random() % 1001));
                else
                    what = server.pedal(i).playStep(random);
                if (playLog != nullptr) {
                    // The monotonic clock, as the editor's frame log has it.
                    const auto now = std::chrono::steady_clock::now().time_since_epoch();
                    const tovan::sim::SimPedal& pedal = server.pedal(i);
                    std::fprintf(playLog, "play %lld %zu %s %u %u %u %u %u\n",
                                 static_cast<long long>(
                                     std::chrono::duration_cast<std::chrono::microseconds>(now).count()),
                                 i, what, pedal.activePreset(), pedal.liveFrequency(0), pedal.liveHeight(0),
                                 pedal.liveFrequency(1), pedal.liveHeight(1));
                    std::fflush(playLog);
                }
            }
            nextPlay += std::chrono::milliseconds(playIntervalMs);
        }
        if (dumpRequested) {
            dumpRequested = 0;
            if (!stateFile.empty() && !writeState(stateFile, server.stateJson()))
                std::fprintf(stderr, "tovan-pedal-sim: cannot write %s\n", stateFile.c_str());
        }
    }
    server.stop();
    if (playLog != nullptr) std::fclose(playLog);
    if (!stateFile.empty() && !writeState(stateFile, server.stateJson())) {
        std::fprintf(stderr, "tovan-pedal-sim: cannot write %s\n", stateFile.c_str());
        return 1;
    }
    return 0;
}
