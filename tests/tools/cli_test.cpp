// tovan-cli against a real tovan-pedal-sim process on the virtual bus: exit
// codes, JSON output, and what reached the pedal (its state file).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <map>
#include <regex>
#include <sys/stat.h>

#include "link/shared_pedals_backend.h"
#include "link/tovan_process.h"
#include "platform/hid/virtual/virtual_backend.h"
#include "platform/pedal_claim.h"
#include "tests/platform/temp_folder.h"
#include "tests/support/pedal_sim_process.h"
#include "tools/cli/cli_app.h"

#include <thread>

namespace fs = std::filesystem;
using tovan::test::PedalSimProcess;
using tovan::test::TempFolder;

namespace {

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

class CliRun : public ::testing::Test {
protected:
    void startPedals(std::vector<std::string> extra = {}) {
        std::vector<std::string> arguments{"--dir", bus(), "--state-file", stateFile()};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        simulator = std::make_unique<PedalSimProcess>(TOVAN_PEDAL_SIM_PATH, arguments);
        const size_t count = std::count(extra.begin(), extra.end(), "--count") ? 2 : 1;
        ASSERT_EQ(simulator->waitReady(count).size(), count);
    }

    // Runs tovan-cli on the bus with stdin from /dev/null (no terminal), or
    // from a terminal that types `answers`.
    Result cli(std::vector<std::string> arguments, const std::string* answers = nullptr) {
        if (pedalOption) arguments.insert(arguments.begin(), {"--pedal", "virtual:" + bus()});
        arguments.insert(arguments.begin(), TOVAN_CLI_PATH);
        const std::string outFile = folder.path() + "/out";
        const std::string errFile = folder.path() + "/err";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        int terminal = -1;
        if (answers != nullptr) {
            terminal = posix_openpt(O_RDWR | O_NOCTTY);
            grantpt(terminal);
            unlockpt(terminal);
            posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, ptsname(terminal), O_RDWR, 0);
            (void)!::write(terminal, answers->data(), answers->size());
        } else {
            posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        }
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        pid_t pid = -1;
        Result result;
        if (posix_spawn(&pid, TOVAN_CLI_PATH, &actions, nullptr, argv.data(), environ) == 0) {
            int status = 0;
            waitpid(pid, &status, 0);
            result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        if (terminal >= 0) ::close(terminal);
        result.out = tovan::test::readFile(outFile);
        result.err = tovan::test::readFile(errFile);
        return result;
    }

    bool pedalState(const std::string& needle) {
        return tovan::test::stateHolds(*simulator, stateFile(), needle);
    }
    std::string bus() { return folder.path() + "/bus"; }
    std::string stateFile() { return folder.path() + "/state.json"; }
    std::string file(const std::string& name) { return folder.path() + "/" + name; }

    TempFolder folder;
    std::unique_ptr<PedalSimProcess> simulator;
    // Whether cli() names the bus with --pedal (else TOVAN_PEDAL chooses).
    bool pedalOption = true;
};

// index -> value pairs of a `get --json` answer.
std::map<int, int> getValues(const std::string& json) {
    std::map<int, int> values;
    const std::regex pair(R"re("index":(\d+),"value":(-?\d+))re");
    for (std::sregex_iterator it(json.begin(), json.end(), pair), end; it != end; ++it)
        values[std::stoi((*it)[1])] = std::stoi((*it)[2]);
    return values;
}

// The "values" object of every preset of a `dump --json` answer.
std::vector<std::map<int, int>> dumpedPresets(const std::string& json) {
    std::vector<std::map<int, int>> presets;
    const std::regex block(R"re("values":\{([^}]*)\})re");
    const std::regex pair(R"re("(\d+)":(-?\d+))re");
    for (std::sregex_iterator it(json.begin(), json.end(), block), end; it != end; ++it) {
        const std::string body = (*it)[1];
        std::map<int, int> values;
        for (std::sregex_iterator p(body.begin(), body.end(), pair), e; p != e; ++p)
            values[std::stoi((*p)[1])] = std::stoi((*p)[2]);
        presets.push_back(values);
    }
    return presets;
}

} // namespace

TEST_F(CliRun, UsageAndNoPedalHaveTheirOwnExitCodes) {
    fs::create_directories(bus());
    EXPECT_EQ(cli({}).status, 2);
    EXPECT_EQ(cli({"frobnicate"}).status, 2);
    EXPECT_EQ(cli({"--device"}).status, 2);
    const Result none = cli({"info"});
    EXPECT_EQ(none.status, 3);
    EXPECT_NE(none.err.find("no Tovan found"), std::string::npos);

    startPedals();
    EXPECT_EQ(cli({"set", "23"}).status, 2);
    EXPECT_EQ(cli({"set", "999", "1"}).status, 2);
    EXPECT_EQ(cli({"set", "23", "fast"}).status, 2);
    EXPECT_EQ(cli({"select", "X05"}).status, 2);
    EXPECT_EQ(cli({"--device", "4", "info"}).status, 3);
}

TEST_F(CliRun, ListInfoAndDeviceChoice) {
    startPedals({"--count", "2", "--name", "Rig"});
    const Result list = cli({"--json", "list"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find(R"("index":0,"name":"Rig 1")"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find(R"("current":true)"), std::string::npos);
    EXPECT_NE(list.out.find(R"("index":1)"), std::string::npos);

    const Result info = cli({"--json", "--device", "1", "info"});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find(R"({"name":"Rig 2","firmware":"1.5.0")"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find(R"("active_label":"F00","edited":false,"locked":false)"), std::string::npos);
    EXPECT_NE(info.out.find(R"("unique_id":")"), std::string::npos);
}

TEST_F(CliRun, SetAndGetGoThroughTheParameterFields) {
    startPedals();
    const Result set = cli({"--json", "set", "23", "99.5"});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(set.out, "{\"index\":23,\"value\":995,\"text\":\"99.5\",\"min\":400,\"max\":3000}\n");
    EXPECT_EQ(cli({"set", "19", "Hi 2"}).status, 0);
    // Out of range values are clamped like the field would.
    EXPECT_EQ(cli({"set", "17", "99999"}).status, 0);
    const auto values = getValues(cli({"--json", "get", "23", "19", "17"}).out);
    EXPECT_EQ(values.at(23), 995);
    EXPECT_EQ(values.at(19), 11);
    EXPECT_EQ(values.at(17), 4000);
    EXPECT_TRUE(pedalState("\"edited\":true"));
}

TEST_F(CliRun, DestructiveCommandsNeedAYes) {
    startPedals();
    ASSERT_EQ(cli({"select", "P04"}).status, 0);
    EXPECT_TRUE(pedalState("\"active_preset\":104"));

    const Result refused = cli({"store", "P07", "Abc", "My sweep"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("--yes"), std::string::npos);
    ASSERT_EQ(cli({"--yes", "store", "P07", "Abc", "My sweep"}).status, 0);
    EXPECT_TRUE(pedalState("\"name\":\"Abc\",\"description\":\"My sweep\""));

    EXPECT_EQ(cli({"delete"}).status, 1);
    EXPECT_EQ(cli({"reset"}).status, 1);
    EXPECT_EQ(cli({"--yes", "delete"}).status, 0);
    ASSERT_EQ(cli({"select", "F03"}).status, 0);
    const Result factory = cli({"--yes", "delete"});
    EXPECT_EQ(factory.status, 1);
    EXPECT_NE(factory.err.find("factory"), std::string::npos);

    ASSERT_EQ(cli({"set", "8", "Stage left"}).status, 0);
    ASSERT_EQ(cli({"--yes", "reset"}).status, 0);
    EXPECT_NE(cli({"info"}).out.find("Stage left"), std::string::npos) << "the pedal keeps its name";
}

TEST_F(CliRun, QuestionsAreAskedOnATerminal) {
    startPedals();
    const std::string no = "n\n";
    const Result declined = cli({"store", "P09", "Try", "Declined"}, &no);
    EXPECT_EQ(declined.status, 1);
    EXPECT_NE(
        declined.err.find("Store the current preset into P09? The preset stored there is replaced. [y/N]"),
        std::string::npos)
        << declined.err;
    const std::string yes = "y\n";
    ASSERT_EQ(cli({"store", "P09", "Yes", "Accepted"}, &yes).status, 0);
    EXPECT_TRUE(pedalState("\"name\":\"Yes\",\"description\":\"Accepted\""));
}

TEST_F(CliRun, ExportAndLoadAPreset) {
    startPedals();
    ASSERT_EQ(cli({"set", "16", "1234"}).status, 0);
    ASSERT_EQ(cli({"export", file("sweep.tovan")}).status, 0);
    EXPECT_EQ(fs::file_size(file("sweep.tovan")), 468u);
    ASSERT_EQ(cli({"set", "16", "500"}).status, 0);
    const Result load = cli({"load", file("sweep.tovan")});
    ASSERT_EQ(load.status, 0) << load.err;
    EXPECT_EQ(getValues(cli({"--json", "get", "16"}).out).at(16), 1234);

    EXPECT_EQ(cli({"load", file("missing.tovan")}).status, 1);
    std::ofstream(file("short.tovan")) << "not a preset";
    const Result bad = cli({"load", file("short.tovan")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("not valid"), std::string::npos) << bad.err;
}

TEST_F(CliRun, ABackupDumpsWhatThePresetsHold) {
    startPedals();
    ASSERT_EQ(cli({"--yes", "store", "P02", "Bak", "Backed up"}).status, 0);
    const Result backup = cli({"backup", file("all.tovan_all")});
    ASSERT_EQ(backup.status, 0) << backup.err;

    const Result dump = cli({"--json", "dump", file("all.tovan_all")});
    ASSERT_EQ(dump.status, 0) << dump.err;
    EXPECT_NE(dump.out.find(R"("kind":"backup")"), std::string::npos);
    EXPECT_NE(dump.out.find(R"("count":12,"slots":20)"), std::string::npos);
    const auto presets = dumpedPresets(dump.out);
    ASSERT_EQ(presets.size(), 100u);
    for (int slot = 0; slot < 100; ++slot) {
        char label[8];
        std::snprintf(label, sizeof label, "P%02d", slot);
        ASSERT_EQ(cli({"select", label}).status, 0);
        std::vector<std::string> indexes{"--json", "get"};
        for (int index = 9; index <= 91; ++index)
            indexes.push_back(std::to_string(index));
        const auto values = getValues(cli(indexes).out);
        for (int index = 9; index <= 91; ++index)
            ASSERT_EQ(presets[static_cast<size_t>(slot)].at(index), values.at(index))
                << label << " " << index;
    }

    // Restoring needs a yes, then brings the stored preset back.
    ASSERT_EQ(cli({"--yes", "store", "P02", "Zap", "Replaced"}).status, 0);
    EXPECT_EQ(cli({"load", file("all.tovan_all")}).status, 1);
    const Result restore = cli({"--yes", "load", file("all.tovan_all")});
    ASSERT_EQ(restore.status, 0) << restore.err;
    EXPECT_TRUE(pedalState("\"name\":\"Bak\",\"description\":\"Backed up\""));
}

TEST_F(CliRun, SetlistsAndAPedalThatDoesNotAnswer) {
    startPedals();
    const Result setlists = cli({"--json", "setlists"});
    ASSERT_EQ(setlists.status, 0);
    EXPECT_EQ(setlists.out.rfind(
                  R"({"count":12,"slots":20,"setlists":[{"index":0,"name":"Demo Mode","flag":true)", 0),
              0u)
        << setlists.out;
    simulator->stop();

    startPedals({"--fail-rate", "1"});
    const Result info = cli({"info"});
    EXPECT_EQ(info.status, 1);
    EXPECT_NE(info.err.find("did not answer"), std::string::npos) << info.err;
}

TEST_F(CliRun, BackupAndRestorePutThePedalBackAndVerifyChecksTheFile) {
    startPedals();
    ASSERT_EQ(cli({"set", "5", "1"}).status, 0);
    ASSERT_EQ(cli({"select", "P12"}).status, 0);
    const Result backup = cli({"backup", file("all.tovan_all")});
    ASSERT_EQ(backup.status, 0) << backup.err;
    EXPECT_TRUE(pedalState(R"("active_preset":112,"edited":false,"locked":false,"mode_switch":true)"));

    const Result agree = cli({"verify", file("all.tovan_all")});
    EXPECT_EQ(agree.status, 0) << agree.err;
    EXPECT_NE(agree.out.find("the backup and the pedal agree"), std::string::npos) << agree.out;

    ASSERT_EQ(cli({"select", "F33"}).status, 0);
    ASSERT_EQ(cli({"--yes", "store", "P04", "Zap", "Replaced"}).status, 0);
    const Result differ = cli({"verify", file("all.tovan_all")});
    EXPECT_EQ(differ.status, 1);
    EXPECT_NE(differ.out.find("P04 name: file \""), std::string::npos) << differ.out;
    EXPECT_NE(differ.err.find("differences between"), std::string::npos) << differ.err;

    ASSERT_EQ(cli({"select", "F07"}).status, 0);
    ASSERT_EQ(cli({"set", "5", "0"}).status, 0);
    const Result restore = cli({"--yes", "load", file("all.tovan_all")});
    ASSERT_EQ(restore.status, 0) << restore.err;
    EXPECT_TRUE(pedalState(R"("active_preset":7,"edited":false,"locked":false,"mode_switch":false)"));
    EXPECT_EQ(cli({"verify", file("all.tovan_all")}).status, 0);
}

TEST_F(CliRun, ReadingCommandsSendNoWrite) {
    startPedals();
    for (std::vector<std::string> command :
         std::vector<std::vector<std::string>>{{"list"},
                                               {"info"},
                                               {"--json", "get"},
                                               {"get", "5", "7", "8", "109"},
                                               {"presets", "--user"},
                                               {"setlists"}})
        ASSERT_EQ(cli(command).status, 0) << command.back();
    EXPECT_TRUE(pedalState(R"("writes":0,)"));
}

TEST_F(CliRun, FoldersDevicesPipesAndHugeFilesAreRefused) {
    fs::create_directories(file("folder"));
    ASSERT_EQ(::mkfifo(file("pipe").c_str(), 0600), 0);
    std::ofstream(file("huge.tovan_all")) << std::string(5 * 1024 * 1024, 'x');
    for (const std::string& path :
         {file("folder"), std::string("/dev/zero"), file("pipe"), file("huge.tovan_all")}) {
        const Result dump = cli({"dump", path});
        EXPECT_EQ(dump.status, 1) << path;
        EXPECT_NE(dump.err.find(path), std::string::npos) << dump.err;
        EXPECT_EQ(dump.err.find("terminate"), std::string::npos) << dump.err;
    }
    startPedals();
    EXPECT_EQ(cli({"--yes", "load", file("folder")}).status, 1);
    EXPECT_EQ(cli({"--yes", "load", "/dev/zero"}).status, 1);
    EXPECT_EQ(cli({"verify", file("pipe")}).status, 1);
}

namespace {

// What runCliServed gives, as tovan-cli would print it.
Result served(tovan::HidBackend& pedals, const std::string& path, std::vector<std::string> arguments) {
    char* outText = nullptr;
    char* errText = nullptr;
    size_t outSize = 0;
    size_t errSize = 0;
    std::FILE* out = open_memstream(&outText, &outSize);
    std::FILE* err = open_memstream(&errText, &errSize);
    Result result;
    result.status = runCliServed(arguments, pedals, path, nullptr, out, err);
    std::fclose(out);
    std::fclose(err);
    result.out.assign(outText, outSize);
    result.err.assign(errText, errSize);
    std::free(outText);
    std::free(errText);
    return result;
}

// Another program on the same pedal: this test process, holding it through a
// link of its own as the editor does.
struct Holder {
    Holder(const std::string& bus, const char* program) : backend(bus), process(backend) {
        tovan::setClaimProgramName(program);
        process.exchange().setSleeper([](std::chrono::milliseconds) {});
        process.Open();
        process.session().connect();
    }
    ~Holder() {
        process.session().attachedPedals().clear();
        process.session().currentPedal().close();
        tovan::setClaimProgramName(program_invocation_short_name);
    }
    tovan::VirtualHidBackend backend;
    TovanProcess process;
};

} // namespace

TEST_F(CliRun, APedalHeldByAnotherProgramIsRefusedOrWaitedFor) {
    startPedals();
    auto holder = std::make_unique<Holder>(bus(), "tovan-cli");
    ASSERT_TRUE(holder->process.session().isConnected());
    const std::string who = "in use by tovan-cli (pid " + std::to_string(getpid()) + ")";
    for (std::vector<std::string> command : std::vector<std::vector<std::string>>{
             {"info"}, {"backup", file("held.tovan_all")}, {"set", "23", "50"}}) {
        const Result refused = cli(command);
        EXPECT_EQ(refused.status, 1) << command[0];
        EXPECT_NE(refused.err.find("the Tovan is " + who), std::string::npos) << refused.err;
    }
    EXPECT_FALSE(fs::exists(file("held.tovan_all"))) << "nothing half done";
    const Result listed = cli({"list"});
    EXPECT_EQ(listed.status, 0);
    EXPECT_NE(listed.out.find(who), std::string::npos) << listed.out;

    // An editor that the bus does not reach is waited for like any program.
    holder.reset();
    holder = std::make_unique<Holder>(bus(), "tovan");
    const Result unreachable = cli({"info"});
    EXPECT_EQ(unreachable.status, 1);
    EXPECT_NE(unreachable.err.find("in use by tovan (pid"), std::string::npos) << unreachable.err;
    const Result change = cli({"--wait", "0.2", "set", "23", "50"});
    EXPECT_EQ(change.status, 1);
    EXPECT_NE(change.err.find("open in the editor"), std::string::npos) << change.err;
    EXPECT_TRUE(pedalState(R"("writes":0,)"));

    // Let go while tovan-cli waits: it takes the pedal and does the work.
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        holder.reset();
    });
    const Result waited = cli({"--wait", "10", "--json", "info"});
    release.join();
    EXPECT_EQ(waited.status, 0) << waited.err;
    EXPECT_NE(waited.out.find("\"name\":\"Tovan\""), std::string::npos) << waited.out;
}

TEST_F(CliRun, TheEditorRunsReadingCommandsExactlyAsTovanCliDoes) {
    startPedals();
    const std::vector<std::vector<std::string>> commands{{"--json", "info"},     {"info"},
                                                         {"--json", "get"},      {"get", "23", "5"},
                                                         {"--json", "presets"},  {"presets", "--user"},
                                                         {"--json", "setlists"}, {"list"},
                                                         {"--json", "list"}};
    std::vector<Result> alone;
    for (const auto& command : commands)
        alone.push_back(cli(command));
    ASSERT_EQ(cli({"backup", file("alone.tovan_all")}).status, 0);

    Holder editor(bus(), "tovan");
    tovan::SharedPedalsBackend pedals(editor.process.session().attachedPedals());
    const std::string path = editor.process.session().currentPedal().path();
    for (size_t i = 0; i < commands.size(); ++i) {
        const Result through = served(pedals, path, commands[i]);
        EXPECT_EQ(through.status, alone[i].status) << commands[i].back();
        EXPECT_EQ(through.out, alone[i].out) << commands[i].back();
        EXPECT_EQ(through.err, alone[i].err) << commands[i].back();
    }
    const Result backup = served(pedals, path, {"backup", file("served.tovan_all")});
    ASSERT_EQ(backup.status, 0) << backup.err;
    EXPECT_EQ(tovan::test::readFile(file("served.tovan_all")),
              tovan::test::readFile(file("alone.tovan_all")));
    const Result verify = served(pedals, path, {"--json", "verify", file("alone.tovan_all")});
    EXPECT_EQ(verify.status, 0) << verify.err;
    EXPECT_EQ(verify.out, "{\"agree\":true,\"differences\":[]}\n");
    const Result exported = served(pedals, path, {"export", file("served.tovan")});
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_TRUE(fs::exists(file("served.tovan")));

    // What changes the pedal is the editor's to do.
    const std::string before = served(pedals, path, {"--json", "get", "23"}).out;
    const Result set = served(pedals, path, {"set", "23", "50"});
    EXPECT_EQ(set.status, 1);
    EXPECT_NE(set.err.find("does not run 'set'"), std::string::npos) << set.err;
    EXPECT_EQ(served(pedals, path, {"--json", "get", "23"}).out, before);
}

TEST_F(CliRun, TovanPedalChoosesThePedalsAndPedalWinsOverIt) {
    startPedals();
    const char* previous = std::getenv("TOVAN_PEDAL");
    const std::string kept = previous != nullptr ? previous : "";
    setenv("TOVAN_PEDAL", ("virtual:" + bus()).c_str(), 1);
    pedalOption = false;
    const Result chosen = cli({"list"});
    EXPECT_EQ(chosen.status, 0) << chosen.err;
    EXPECT_NE(chosen.out.find("virtual:" + bus()), std::string::npos) << chosen.out;
    const Result overridden = cli({"--pedal", "virtual:" + folder.path() + "/empty", "list"});
    EXPECT_EQ(overridden.status, 3) << "no pedal on the bus --pedal names";
    if (previous != nullptr)
        setenv("TOVAN_PEDAL", kept.c_str(), 1);
    else
        unsetenv("TOVAN_PEDAL");
}

TEST_F(CliRun, ExportAllThenImportIntoAFreshPedalGivesAPedalThatVerifies) {
    startPedals();
    // Slots that differ from a fresh pedal's, so that the import has work to do.
    ASSERT_EQ(cli({"select", "F33"}).status, 0);
    ASSERT_EQ(cli({"--yes", "store", "P04", "Zap", "Stored by hand"}).status, 0);
    // Asked on a terminal: a no writes nothing.
    const std::string no = "n\n";
    const Result declined = cli({"swap", "P10", "P11"}, &no);
    EXPECT_EQ(declined.status, 1);
    EXPECT_NE(declined.err.find("Swap P10 and P11?"), std::string::npos) << declined.err;
    EXPECT_NE(declined.err.find("nothing was written"), std::string::npos) << declined.err;
    ASSERT_EQ(cli({"--yes", "swap", "P10", "P11"}).status, 0);
    ASSERT_EQ(cli({"backup", file("all.tovan_all")}).status, 0);
    const Result exported = cli({"--json", "export-all", file("library")});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_TRUE(fs::is_regular_file(file("library/P04 Zap - Stored by hand.tovan")));

    // A fresh pedal: the backup does not match it until the import.
    simulator.reset();
    fs::remove(stateFile());
    startPedals();
    EXPECT_EQ(cli({"verify", file("all.tovan_all")}).status, 1);
    const Result refused = cli({"import", file("library")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("needs a yes"), std::string::npos) << refused.err;
    const Result imported = cli({"--yes", "--json", "import", file("library"), "P00"});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_NE(imported.out.find(R"("ok":true)"), std::string::npos) << imported.out;
    EXPECT_NE(imported.out.find(R"({"slot":4,"label":"P04","name":"Zap","description":"Stored by hand"})"),
              std::string::npos)
        << imported.out;
    const Result verified = cli({"verify", file("all.tovan_all")});
    EXPECT_EQ(verified.status, 0) << verified.out << verified.err;
}

TEST_F(CliRun, TheEditorSwapsAndCopiesForTovanCli) {
    startPedals();
    ASSERT_EQ(cli({"--yes", "store", "P20", "Aaa", "First"}).status, 0);
    ASSERT_EQ(cli({"select", "F02"}).status, 0);
    ASSERT_EQ(cli({"--yes", "store", "P21", "Bbb", "Second"}).status, 0);
    Holder editor(bus(), "tovan");
    tovan::SharedPedalsBackend pedals(editor.process.session().attachedPedals());
    const std::string path = editor.process.session().currentPedal().path();
    // Nothing is asked in the editor: without a yes nothing is written.
    EXPECT_EQ(served(pedals, path, {"swap", "P20", "P21"}).status, 1);
    const Result swapped = served(pedals, path, {"--yes", "swap", "P20", "P21"});
    ASSERT_EQ(swapped.status, 0) << swapped.err;
    EXPECT_EQ(swapped.out, "P20  Bbb  Second\nP21  Aaa  First\n");
    const Result copied = served(pedals, path, {"--yes", "copy", "P21", "P22"});
    ASSERT_EQ(copied.status, 0) << copied.err;
    const std::string presets = served(pedals, path, {"presets", "--user"}).out;
    EXPECT_NE(presets.find("P20  Bbb  Second\nP21  Aaa  First\nP22  Aaa  First\n"), std::string::npos)
        << presets;
}
