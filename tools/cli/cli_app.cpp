#include "tools/cli/cli_app.h"

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "editor/pedal_questions.h"
#include "link/file_reading.h"
#include "link/librarian.h"
#include "link/preset_file_codec.h"
#include "link/tovan_process.h"
#include "model/parameter_kinds.h"
#include "model/pedal_parameters.h"
#include "model/pedal_values.h"
#include "platform/hid/backend_select.h"
#include "toolkit/dialogs.h"
#include "tools/cli/backup_compare.h"
#include "tools/cli/cli_view.h"
#include "tools/cli/editor_client.h"
#include "tools/cli/json_writer.h"
#include "tools/cli/terminal_dialogs.h"

namespace {

constexpr const char* kUsage =
    "usage: tovan-cli [--pedal usb|sim|virtual[:DIR]] [--device N] [--wait SECONDS] [--yes] [--json] COMMAND "
    "...\n"
    "The pedal back end is TOVAN_PEDAL's when --pedal is not given (usb without either). A pedal the\n"
    "editor has open is reached through the editor; one held by another program is waited for up to\n"
    "--wait seconds (default 0).\n"
    "commands:\n"
    "  list                         attached pedals\n"
    "  info                         the pedal's name, versions and state\n"
    "  presets [--user]             preset names and descriptions\n"
    "  get [INDEX...]               parameter values (all device parameters by default)\n"
    "  set INDEX VALUE              set a parameter as typed in its field (e.g. 23.5, or a value name)\n"
    "  select PRESET                select a preset: 0-199, F07 or P42\n"
    "  store SLOT NAME DESCRIPTION  store the current preset into user slot P00-P99 (or 0-99)\n"
    "  delete                       delete the current user preset\n"
    "  revert                       discard the edits of the current preset\n"
    "  reset                        reset the pedal's settings (user presets are kept)\n"
    "  export FILE                  save the current preset to a preset file\n"
    "  load FILE                    load a preset file, or restore a backup (asks, or --yes)\n"
    "  backup FILE                  save global settings, setlists and all user presets\n"
    "  setlists                     the setlists\n"
    "  verify FILE                  compare a backup file with what the pedal holds\n"
    "  dump FILE                    show what a preset or backup file holds (no pedal needed)\n"
    "  copy SRC DST                 copy user preset SRC onto slot DST (P00-P99; asks, or --yes)\n"
    "  swap A B                     swap two user presets (asks, or --yes)\n"
    "  export-all DIR               write the 100 user presets as preset files into DIR\n"
    "  import DIR [FIRST_SLOT]      load DIR's preset files into slots from FIRST_SLOT (P00 by default;\n"
    "                               asks, or --yes)\n";

constexpr const char* kUdevHint =
    "a Tovan is attached but could not be opened (permission denied?); install the udev rule: "
    "sudo cp resources/70-tovan.rules /etc/udev/rules.d/ && sudo udevadm control --reload, then plug the "
    "pedal "
    "in again";

// The program that holds a pedal while the editor has it open.
constexpr const char* kEditorProgram = "tovan";

// What the editor runs for tovan-cli while it has the pedal: the commands that
// only read the pedal. The others change what the player is editing.
const std::set<std::string>& commandsTheEditorServes() {
    static const std::set<std::string> commands{"list",     "info",   "presets",    "get",
                                                "setlists", "export", "backup",     "verify",
                                                "copy",     "swap",   "export-all", "import"};
    return commands;
}

// The librarian's commands that write user slots: the editor runs them too,
// asked first on tovan-cli's own terminal.
bool writesSlots(const std::string& command) {
    return command == "copy" || command == "swap" || command == "import";
}

// The commands whose first argument is a file: handed to the editor with its
// full path, since the editor runs in another folder.
bool takesFile(const std::string& command) {
    return command == "export" || command == "backup" || command == "verify" || command == "load" ||
           command == "dump" || command == "export-all" || command == "import";
}

std::string defaultPedal() {
    const char* chosen = std::getenv("TOVAN_PEDAL");
    return chosen != nullptr && *chosen != 0 ? chosen : "usb";
}

struct Options {
    std::string pedal = defaultPedal();
    int32_t device = -1;
    double waitSeconds = 0;
    bool yes = false;
    bool json = false;
    std::string command;
    std::vector<std::string> arguments;
};

struct UsageError {
    std::string message;
};

bool parseInt(std::string_view text, int32_t& out) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), out);
    return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// Whether the text reads as a number the way the editor's text fields take one.
bool isNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            digits = true;
        else if (text[i] == '.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

std::string versionText(const std::array<uint8_t, 3>& version) {
    return std::to_string(version[0]) + "." + std::to_string(version[1]) + "." + std::to_string(version[2]);
}

// Where a command runs when the editor serves it: the editor's pedals, the
// one tovan-cli chose, and the editor's page for the progress.
struct ServedBy {
    tovan::HidBackend* backend = nullptr;
    std::string pedalPath;
    PedalView* progress = nullptr;
};

class Cli {
public:
    Cli(Options options, std::FILE* input, std::FILE* output, std::FILE* errors, ServedBy servedBy = {})
        : options(std::move(options)), out(output), err(errors), dialogs(this->options.yes, input, errors),
          view(errors, isatty(fileno(errors)) != 0, servedBy.progress), served(std::move(servedBy)) {}

    int run() {
        DialogHost* previous = setDialogHost(&dialogs);
        const int status = dispatch();
        setDialogHost(previous);
        return status;
    }

private:
    int dispatch() {
        const std::string& c = options.command;
        if (c == "dump") return withArguments(1, 1, [&] { return dump(options.arguments[0]); });
        using Command = std::function<int()>;
        const std::map<std::string, std::pair<std::pair<size_t, size_t>, Command>> commands{
            {"list", {{0, 0}, [&] { return list(); }}},
            {"info", {{0, 0}, [&] { return info(); }}},
            {"presets", {{0, 1}, [&] { return presets(); }}},
            {"get", {{0, 200}, [&] { return get(); }}},
            {"set", {{2, 2}, [&] { return set(); }}},
            {"select", {{1, 1}, [&] { return select(); }}},
            {"store", {{3, 3}, [&] { return store(); }}},
            {"delete", {{0, 0}, [&] { return remove(); }}},
            {"revert", {{0, 0}, [&] { return revert(); }}},
            {"reset", {{0, 0}, [&] { return reset(); }}},
            {"export", {{1, 1}, [&] { return exportPreset(); }}},
            {"load", {{1, 1}, [&] { return load(); }}},
            {"backup", {{1, 1}, [&] { return backup(); }}},
            {"setlists", {{0, 0}, [&] { return setlists(); }}},
            {"verify", {{1, 1}, [&] { return verify(); }}},
            {"copy", {{2, 2}, [&] { return copySlot(); }}},
            {"swap", {{2, 2}, [&] { return swapSlots(); }}},
            {"export-all", {{1, 1}, [&] { return exportAll(); }}},
            {"import", {{1, 2}, [&] { return importFolder(); }}},
        };
        const auto found = commands.find(c);
        if (found == commands.end())
            return usage(c.empty() ? "no command given" : "unknown command '" + c + "'");
        const auto [counts, command] = found->second;
        return withArguments(counts.first, counts.second, [&] {
            const int connection = connect();
            if (connection != kCliOk || handedOver) return connection;
            const int status = command();
            return status == kCliOk ? finished() : status;
        });
    }

    int withArguments(size_t least, size_t most, const std::function<int()>& command) {
        if (options.arguments.size() < least || options.arguments.size() > most)
            return usage("wrong number of arguments for '" + options.command + "'");
        try {
            return command();
        } catch (const UsageError& error) {
            return usage(error.message);
        }
    }

    int usage(const std::string& message) {
        std::fprintf(err, "tovan-cli: %s\n%s", message.c_str(), kUsage);
        return kCliUsage;
    }

    int fail(const std::string& reason) {
        std::fprintf(err, "tovan-cli: %s\n", reason.c_str());
        return kCliFailed;
    }

    // A command that ran may still have lost exchanges with the pedal, unless
    // it checked each of them itself (the bulk operations retry and report).
    int finished() {
        if (!checkedItself && process->exchange().failedExchanges() > 0)
            return fail("the pedal did not answer; the operation may be incomplete");
        return kCliOk;
    }

    int connect() {
        if (served.backend == nullptr) {
            backend = tovan::createHidBackend(options.pedal);
            if (!backend) throw UsageError{"unknown pedal back end '" + options.pedal + "'"};
        }
        tovan::HidBackend& pedals = served.backend != nullptr ? *served.backend : *backend;
        process = std::make_unique<TovanProcess>(pedals, &view);
        process->setQuestions(&questions);
        process->Open();
        process->session().connect();
        if (served.backend != nullptr) return connectServed();
        const auto& attached = process->session().attachedPedals();
        if (options.device >= 0 && static_cast<size_t>(options.device) >= attached.size()) {
            std::fprintf(err, "tovan-cli: no pedal at place %d (%zu attached)\n", options.device,
                         attached.size());
            return kCliNoPedal;
        }
        if (options.command == "list") {
            if (const auto editor = heldByEditor(); editor && handOver(*editor)) return handedStatus;
            if (!attached.empty()) return kCliOk;
        } else if (!attached.empty()) {
            // The pedal asked for, else the first one listed, even when another program has it.
            const size_t target = options.device >= 0 ? static_cast<size_t>(options.device) : 0;
            if (attached[target].heldBy()) return whenHeld(target);
            if (!process->session().useDevice(static_cast<int32_t>(target)))
                return fail("the pedal could not be opened");
        }
        if (process->session().isConnected()) return kCliOk;
        bool seen = false;
        if (const auto paths = backend->enumerate()) {
            for (std::string path : *paths) {
                for (char& ch : path)
                    ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
                seen = seen || path.find(tovan::pedalPattern()) != std::string::npos;
            }
        }
        std::fprintf(err, "tovan-cli: %s\n", seen ? kUdevHint : "no Tovan found");
        return kCliNoPedal;
    }

    // The editor holding one of the listed pedals, when one does.
    std::optional<tovan::ClaimHolder> heldByEditor() {
        for (const tovan::CHidDevice& pedal : process->session().attachedPedals())
            if (pedal.heldBy() && pedal.heldBy()->program == kEditorProgram) return pedal.heldBy();
        return std::nullopt;
    }

    // Asks the editor to run this command; false when no editor of this
    // user's session answers for that process.
    bool handOver(const tovan::ClaimHolder& editor) {
        std::vector<std::string> arguments;
        if (options.json) arguments.push_back("--json");
        // The editor asks nothing: a question is asked here, and a yes handed on.
        if (writesSlots(options.command) && !options.yes) {
            if (!dialogs.canAnswer()) {
                handedOver = true;
                handedStatus = refuseWithoutAnswer(librarianAction());
                return true;
            }
            if (!askYesNo(librarianQuestion())) {
                handedOver = true;
                handedStatus = fail("nothing was written");
                return true;
            }
            options.yes = true;
        }
        if (options.yes) arguments.push_back("--yes");
        arguments.push_back(options.command);
        for (size_t i = 0; i < options.arguments.size(); ++i) {
            std::string argument = options.arguments[i];
            std::error_code error;
            if (i == 0 && takesFile(options.command) && !argument.empty())
                if (auto full = std::filesystem::absolute(argument, error); !error) argument = full.string();
            arguments.push_back(argument);
        }
        const size_t target = options.device >= 0 ? static_cast<size_t>(options.device) : 0;
        const std::string& path = process->session().attachedPedals()[target].path();
        const std::optional<EditorReply> reply = runInEditor(arguments, path, editor.pid);
        if (!reply) return false;
        std::fwrite(reply->output.data(), 1, reply->output.size(), out);
        std::fwrite(reply->errors.data(), 1, reply->errors.size(), err);
        handedOver = true;
        handedStatus = reply->status;
        return true;
    }

    // The pedal is held by another program: the editor runs what it serves;
    // otherwise the claim is waited for, as long as --wait allows.
    int whenHeld(size_t target) {
        const tovan::ClaimHolder holder = *process->session().attachedPedals()[target].heldBy();
        const bool editor = holder.program == kEditorProgram;
        if (editor && commandsTheEditorServes().count(options.command) && handOver(holder))
            return handedStatus;
        const auto deadline = std::chrono::steady_clock::now() +
                              std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                  std::chrono::duration<double>(options.waitSeconds));
        while (std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (!tovan::anyHeldPedalFreed(process->session().attachedPedals())) continue;
            process->session().connect();
            const auto& attached = process->session().attachedPedals();
            if (target < attached.size() && !attached[target].heldBy() &&
                process->session().useDevice(static_cast<int32_t>(target)))
                return kCliOk;
        }
        if (editor && !commandsTheEditorServes().count(options.command))
            return fail("the Tovan is open in the editor, " + holder.text() + ": make the change there, " +
                        "or close the editor first");
        return fail("the Tovan is in use by " + holder.text());
    }

    int connectServed() {
        const auto& attached = process->session().attachedPedals();
        for (size_t i = 0; i < attached.size(); ++i)
            if (attached[i].path() == served.pedalPath &&
                process->session().useDevice(static_cast<int32_t>(i)))
                return kCliOk;
        std::fprintf(err, "tovan-cli: the editor no longer has the pedal %s\n", served.pedalPath.c_str());
        return kCliNoPedal;
    }

    PARAMETER_MANAGER& parameters() { return *process->parameters(); }

    void print(const JsonWriter& json) { std::fprintf(out, "%s\n", json.text().c_str()); }

    int list() {
        JsonWriter json;
        json.beginArray();
        const auto& pedals = process->session().attachedPedals();
        for (const CliView::DeviceName& device : view.deviceNames) {
            const auto& pedal = pedals[static_cast<size_t>(device.index)];
            const bool current = pedal.path() == process->session().currentPedal().path();
            json.beginObject().key("index").value(device.index).key("name").value(device.name);
            json.key("path").value(pedal.path()).key("current").value(current).endObject();
            if (!options.json)
                std::fprintf(out, "%d%s %-16s %s\n", device.index, current ? "*" : " ", device.name.c_str(),
                             pedal.path().c_str());
        }
        json.endArray();
        if (options.json) print(json);
        return kCliOk;
    }

    int info() {
        process->identity().read();
        const int32_t active = process->presets().readActive();
        process->session().pollStatus();
        char name[kParameterTextSize];
        parameters().Format(kDeviceName, name, 0, 16);
        if (options.json) {
            JsonWriter json;
            json.beginObject().key("name").value(name);
            json.key("firmware").value(versionText(process->identity().firmwareVersion()));
            json.key("second_version").value(versionText(process->identity().secondVersion()));
            json.key("unique_id").value(process->identity().uniqueId());
            json.key("active_preset").value(active).key("active_label").value(presetLabel(active));
            json.key("edited")
                .value(process->presets().isEdited())
                .key("locked")
                .value(process->presets().isLocked())
                .endObject();
            print(json);
        } else {
            std::fprintf(out,
                         "name:           %s\nfirmware:       %s\nsecond version: %s\nunique id:      %s\n"
                         "active preset:  %s%s\nlocked:         %s\n",
                         name, versionText(process->identity().firmwareVersion()).c_str(),
                         versionText(process->identity().secondVersion()).c_str(),
                         process->identity().uniqueId(), presetLabel(active).c_str(),
                         process->presets().isEdited() ? " (edited)" : "",
                         process->presets().isLocked() ? "yes" : "no");
        }
        return kCliOk;
    }

    int presets() {
        bool userOnly = false;
        for (const std::string& argument : options.arguments) {
            if (argument != "--user") throw UsageError{"unknown option '" + argument + "' for 'presets'"};
            userOnly = true;
        }
        JsonWriter json;
        json.beginArray();
        for (int32_t n = userOnly ? kPresetsPerBank : 0; n < kPresetCount; ++n) {
            char name[4];
            char description[24];
            process->presets().readName(presetSlot(n), isUserPreset(n), name);
            process->presets().readDescription(presetSlot(n), isUserPreset(n), description);
            json.beginObject().key("number").value(n).key("label").value(presetLabel(n));
            json.key("name").value(name).key("description").value(description).endObject();
            if (!options.json) {
                if (!presetHeading(n).empty() && !isUserPreset(n))
                    std::fprintf(out, "-- %.*s\n", static_cast<int>(presetHeading(n).size()),
                                 presetHeading(n).data());
                std::fprintf(out, "%s  %-3s  %s\n", presetLabel(n).c_str(), name, description);
            }
        }
        json.endArray();
        if (options.json) print(json);
        return kCliOk;
    }

    int32_t parameterIndex(const std::string& text) {
        int32_t index = 0;
        if (!parseInt(text, index) || !(index == kModeSwitch || index == kCurrentPreset ||
                                        index == kDeviceName || deviceFieldOf(index).has_value()))
            throw UsageError{"'" + text + "' is not a parameter index (5, 7, 8 or 9-110)"};
        return index;
    }

    // Reads what the pedal holds for a parameter; false when it did not answer.
    bool readParameter(int32_t index) {
        if (index == kCurrentPreset) {
            parameters().SetValue(kCurrentPreset, static_cast<float>(process->presets().readActive()));
            return process->exchange().failedExchanges() == 0;
        }
        if (index == kDeviceName) {
            process->identity().read();
            return process->exchange().failedExchanges() == 0;
        }
        if (index == kModeSwitch) {
            process->session().pollStatus();
            const bool on = (process->session().lastStatus()[0] & tovan::proto::status::kModeSwitch) != 0;
            parameters().SetValue(kModeSwitch, on ? 1.0f : 0.0f);
            return process->exchange().failedExchanges() == 0;
        }
        return process->values().readParameterInfo(index);
    }

    void describe(JsonWriter& json, int32_t index) {
        char text[kParameterTextSize];
        parameters().Format(index, text, 0, static_cast<int>(kParameterTextSize) - 1);
        int32_t value = parameters().GetIntValue(index);
        int32_t minimum = parameters().GetIntMin(index);
        int32_t maximum = parameters().GetIntMax(index);
        if (index == kCurrentPreset) {
            value = static_cast<int32_t>(parameters().GetValue(kCurrentPreset));
            std::snprintf(text, sizeof text, "%s", presetLabel(value).c_str());
            minimum = 0;
            maximum = kPresetCount - 1;
        } else if (index == kModeSwitch) {
            value = parameters().GetValue(kModeSwitch) > 0.0f ? 1 : 0;
            minimum = 0;
            maximum = 1;
        }
        json.beginObject().key("index").value(index).key("value").value(value).key("text").value(text);
        json.key("min").value(minimum).key("max").value(maximum).endObject();
        if (!options.json) {
            const std::string_view named = valueName(index, value);
            std::fprintf(out, "%-4d %-18.*s %s%s%.*s%s  [%d..%d]\n", index,
                         static_cast<int>(parameterName(index).size()), parameterName(index).data(), text,
                         named.empty() ? "" : " (", static_cast<int>(named.size()), named.data(),
                         named.empty() ? "" : ")", minimum, maximum);
        }
    }

    int get() {
        std::vector<int32_t> indexes;
        for (const std::string& argument : options.arguments)
            indexes.push_back(parameterIndex(argument));
        if (indexes.empty())
            for (const DeviceField& row : kDeviceMap)
                indexes.push_back(row.index);
        JsonWriter json;
        json.beginArray();
        for (int32_t index : indexes) {
            if (!readParameter(index))
                return fail("the pedal did not answer for parameter " + std::to_string(index));
            describe(json, index);
        }
        json.endArray();
        if (options.json) print(json);
        return kCliOk;
    }

    int set() {
        const int32_t index = parameterIndex(options.arguments[0]);
        const std::string& text = options.arguments[1];
        if (!readParameter(index))
            return fail("the pedal did not answer for parameter " + std::to_string(index));
        if (index == kCurrentPreset) {
            options.arguments = {text};
            return select();
        }
        if (index == kDeviceName) {
            if (text.size() > 16) return fail("a pedal name has at most 16 characters");
            parameters().ParseString(kDeviceName, text.c_str());
            process->values().sendParameter(kDeviceName, 0.0f);
        } else {
            float value = 0.0f;
            if (const int32_t named = valueForName(index, text); named >= 0)
                value = static_cast<float>(named);
            else if (isNumber(text))
                value = index == kModeSwitch ? static_cast<float>(std::atof(text.c_str()) > 0.0)
                                             : parameters().ParseString(index, text.c_str());
            else
                throw UsageError{"'" + text + "' is not a value for parameter " + std::to_string(index)};
            process->values().sendParameter(index, value);
            if (index == kModeSwitch) parameters().SetValue(kModeSwitch, value);
        }
        if (index != kModeSwitch && !readParameter(index)) return fail("the pedal did not answer");
        JsonWriter json;
        describe(json, index);
        if (options.json) print(json);
        return kCliOk;
    }

    int32_t presetArgument(const std::string& text) {
        const int32_t preset = parsePresetLabel(text);
        if (preset < 0) throw UsageError{"'" + text + "' is not a preset (0-199, F00-F99 or P00-P99)"};
        return preset;
    }

    int refuseWithoutAnswer(const std::string& what) {
        return fail(what + " needs a yes: run it on a terminal or add --yes");
    }

    int select() {
        const int32_t preset = presetArgument(options.arguments[0]);
        process->session().pollStatus();
        if (process->presets().isEdited() && !dialogs.canAnswer())
            return refuseWithoutAnswer("selecting another preset discards the current preset's edits; this");
        process->presets().select(preset);
        if (process->presets().readActive() != preset) return fail("the pedal stayed on its preset");
        if (!options.json) std::fprintf(out, "%s\n", presetLabel(preset).c_str());
        return kCliOk;
    }

    int store() {
        int32_t slot = parsePresetLabel(options.arguments[0]);
        if (slot >= kPresetsPerBank) slot -= kPresetsPerBank;
        const bool userLabel =
            options.arguments[0].size() == 3 && std::toupper(options.arguments[0][0]) == 'P';
        const bool plain = isNumber(options.arguments[0]);
        if (slot < 0 || (!userLabel && !plain) ||
            (plain && parsePresetLabel(options.arguments[0]) >= kPresetsPerBank))
            throw UsageError{"'" + options.arguments[0] + "' is not a user slot (P00-P99 or 0-99)"};
        const std::string& name = options.arguments[1];
        const std::string& description = options.arguments[2];
        if (name.size() > 3) return fail("a preset name has at most 3 characters");
        if (description.size() > 20) return fail("a preset description has at most 20 characters");
        if (!dialogs.canAnswer())
            return refuseWithoutAnswer("storing over user preset " + presetLabel(slot + 100));
        if (!askYesNo("Store the current preset into " + presetLabel(slot + 100) +
                      "? The preset stored there is replaced."))
            return fail("not stored");
        if (!process->presets().store(name.c_str(), description.c_str(), slot))
            return fail("the pedal did not take the preset");
        return kCliOk;
    }

    int remove() {
        const int32_t active = process->presets().readActive();
        parameters().SetValue(kCurrentPreset, static_cast<float>(active));
        if (!isUserPreset(active))
            return fail(presetLabel(active) + " is a factory preset; only user presets can be deleted");
        if (!dialogs.canAnswer()) return refuseWithoutAnswer("deleting " + presetLabel(active));
        if (!askYesNo("Do you want to delete the current preset?")) return fail("not deleted");
        process->presets().remove();
        return kCliOk;
    }

    int revert() {
        if (!process->presets().revert()) return fail("the pedal did not take the revert");
        return kCliOk;
    }

    int reset() {
        if (!dialogs.canAnswer()) return refuseWithoutAnswer("resetting the pedal's settings");
        process->identity().read();
        const uint64_t before = process->exchange().failedExchanges();
        asking::resetPedal(*process);
        return process->exchange().failedExchanges() == before ? kCliOk : fail("the pedal did not answer");
    }

    int exportPreset() {
        process->session().reload(false);
        return asking::exportPresetTo(*process, options.arguments[0]) ? kCliOk : kCliFailed;
    }

    // The file's bytes, or the reason it is refused (a folder, a device, a pipe, too large).
    std::optional<std::vector<uint8_t>> readFile(const std::string& path) {
        presetfile::FileBytes read = presetfile::readFileBytes(path);
        if (read.problem == presetfile::ReadProblem::None) return std::move(read.bytes);
        fail(presetfile::readProblemText(read.problem, path));
        return std::nullopt;
    }

    int load() {
        const std::string& path = options.arguments[0];
        const auto bytes = readFile(path);
        if (!bytes) return kCliFailed;
        const presetfile::DecodedFile file = presetfile::decodeFile(*bytes);
        const bool backupFile =
            file.status == presetfile::FileStatus::Readable && file.kind == presetfile::FileKind::Backup;
        checkedItself = backupFile;
        if (backupFile && !dialogs.canAnswer())
            return refuseWithoutAnswer("restoring a backup replaces all user presets; this");
        // Values are clamped to the ranges the pedal reports, as its controls
        // would; a range that did not come is asked once more.
        for (const DeviceField& row : kDeviceMap)
            if (!process->values().readParameterInfo(row.index))
                process->values().readParameterInfo(row.index);
        if (backupFile) process->setlists().read();
        if (file.status == presetfile::FileStatus::Foreign)
            return fail(path + " is not a Tovan preset or backup file");
        if (!asking::loadFile(*process, path)) return kCliFailed;
        return kCliOk;
    }

    int backup() {
        checkedItself = true;
        return asking::saveBackupTo(*process, options.arguments[0]) ? kCliOk : kCliFailed;
    }

    // A backup file that can be compared: read whole, of a version we know.
    std::optional<presetfile::DecodedFile> backupFile(const std::string& path) {
        const auto bytes = readFile(path);
        if (!bytes) return std::nullopt;
        presetfile::DecodedFile file = presetfile::decodeFile(*bytes);
        if (file.status != presetfile::FileStatus::Readable || file.kind != presetfile::FileKind::Backup) {
            fail(path + " is not a Tovan backup file");
            return std::nullopt;
        }
        if (file.flags.newer) {
            fail(path + " needs a newer version of this program");
            return std::nullopt;
        }
        if (file.flags.damaged || !file.complete || !file.globals || !file.setlists) {
            fail(path + ": the file is not valid or it may be corrupt");
            return std::nullopt;
        }
        return file;
    }

    int verify() {
        const std::string& path = options.arguments[0];
        const auto file = backupFile(path);
        if (!file) return kCliFailed;
        checkedItself = true;
        const BackupRestore::BackupRead pedal = process->backup().read();
        if (!pedal.failure.empty()) return fail("the pedal could not be read whole: " + pedal.failure);
        const std::vector<std::string> differences =
            backupDifferences(*file, presetfile::decodeFile(pedal.bytes));
        if (options.json) {
            JsonWriter json;
            json.beginObject().key("agree").value(differences.empty()).key("differences").beginArray();
            for (const std::string& difference : differences)
                json.value(difference);
            json.endArray().endObject();
            print(json);
        } else {
            for (const std::string& difference : differences)
                std::fprintf(out, "%s\n", difference.c_str());
            if (differences.empty()) std::fprintf(out, "the backup and the pedal agree\n");
        }
        if (!pedal.putBack) return fail("the pedal could not be put back on " + pedal.place);
        if (!differences.empty())
            return fail(std::to_string(differences.size()) + " difference" +
                        (differences.size() == 1 ? "" : "s") + " between " + path + " and the pedal");
        return kCliOk;
    }

    int32_t userSlotArgument(const std::string& text) {
        int32_t slot = parsePresetLabel(text);
        if (slot >= kPresetsPerBank) slot -= kPresetsPerBank;
        const bool userLabel = text.size() == 3 && std::toupper(static_cast<unsigned char>(text[0])) == 'P';
        const bool plain = isNumber(text);
        if (slot < 0 || (!userLabel && !plain) || (plain && parsePresetLabel(text) >= kPresetsPerBank))
            throw UsageError{"'" + text + "' is not a user slot (P00-P99 or 0-99)"};
        return slot;
    }

    // What a writing librarian command does, in words for its refusal and its question.
    std::string librarianAction() {
        const auto& a = options.arguments;
        if (options.command == "copy")
            return "copying onto " + presetLabel(kPresetsPerBank + userSlotArgument(a[1]));
        if (options.command == "swap") return "swapping two user presets";
        return "importing over user presets";
    }

    std::string librarianQuestion() {
        const auto& a = options.arguments;
        if (options.command == "copy") {
            const std::string target = presetLabel(kPresetsPerBank + userSlotArgument(a[1]));
            return "Copy " + presetLabel(kPresetsPerBank + userSlotArgument(a[0])) + " onto " + target +
                   "? The preset stored in " + target + " is replaced.";
        }
        if (options.command == "swap")
            return "Swap " + presetLabel(kPresetsPerBank + userSlotArgument(a[0])) + " and " +
                   presetLabel(kPresetsPerBank + userSlotArgument(a[1])) + "?";
        const int32_t first = a.size() > 1 ? userSlotArgument(a[1]) : 0;
        const auto plan = Librarian::importPlan(Librarian::listFolder(a[0]), first);
        if (plan.empty()) return "Import from " + a[0] + "? It holds no preset file to import.";
        const int32_t last =
            std::min<int32_t>(first + static_cast<int32_t>(plan.size()), kPresetsPerBank) - 1;
        return "Import " + std::to_string(plan.size()) + " preset file" + (plan.size() == 1 ? "" : "s") +
               " into " + presetLabel(kPresetsPerBank + first) +
               (last > first ? "-" + presetLabel(kPresetsPerBank + last) : "") +
               "? The presets stored there are replaced.";
    }

    // Asks before a librarian command writes; false when the answer was no.
    bool librarianAsked(int& status) {
        if (!dialogs.canAnswer()) {
            status = refuseWithoutAnswer(librarianAction());
            return false;
        }
        if (!askYesNo(librarianQuestion())) {
            status = fail("nothing was written");
            return false;
        }
        return true;
    }

    // Values are clamped to the ranges the pedal reports, as a store of the
    // edit buffer would hold them: the ranges are read first.
    void readRanges() {
        for (const DeviceField& row : kDeviceMap)
            if (!process->values().readParameterInfo(row.index))
                process->values().readParameterInfo(row.index);
    }

    // The outcome of a librarian command: JSON or lines, then the status.
    int report(const Librarian::Outcome& outcome) {
        checkedItself = true;
        JsonWriter json;
        json.beginObject().key("ok").value(outcome.ok).key("written").beginArray();
        for (const Librarian::Written& written : outcome.written) {
            json.beginObject().key("slot").value(written.slot);
            json.key("label").value(presetLabel(kPresetsPerBank + written.slot));
            json.key("name").value(written.after.name).key("description").value(written.after.description);
            json.endObject();
            if (!options.json)
                std::fprintf(out, "%s  %-3s  %s\n", presetLabel(kPresetsPerBank + written.slot).c_str(),
                             written.after.name.c_str(), written.after.description.c_str());
        }
        json.endArray().key("files").beginArray();
        for (const auto& file : outcome.files)
            json.value(file.string());
        json.endArray().key("skipped").beginArray();
        for (const std::string& skipped : outcome.skipped) {
            json.value(skipped);
            if (!options.json) std::fprintf(out, "skipped %s\n", skipped.c_str());
        }
        json.endArray().key("failed_slot").value(outcome.failedSlot);
        json.key("failure").value(outcome.failure).key("put_back").value(outcome.putBack).endObject();
        if (options.json) print(json);
        if (!outcome.ok) return fail(outcome.failure);
        if (!outcome.putBack && !outcome.place.empty())
            return fail("the pedal could not be put back on " + outcome.place);
        return kCliOk;
    }

    int copySlot() {
        const int32_t source = userSlotArgument(options.arguments[0]);
        const int32_t target = userSlotArgument(options.arguments[1]);
        if (int status = kCliOk; !librarianAsked(status)) return status;
        readRanges();
        Librarian librarian(*process);
        return report(librarian.copy(source, target));
    }

    int swapSlots() {
        const int32_t first = userSlotArgument(options.arguments[0]);
        const int32_t second = userSlotArgument(options.arguments[1]);
        if (int status = kCliOk; !librarianAsked(status)) return status;
        readRanges();
        Librarian librarian(*process);
        return report(librarian.swap(first, second));
    }

    int exportAll() {
        Librarian librarian(*process);
        const Librarian::Outcome outcome = librarian.exportAll(options.arguments[0]);
        if (!options.json && outcome.ok)
            std::fprintf(out, "%zu preset files written to %s\n", outcome.files.size(),
                         options.arguments[0].c_str());
        return report(outcome);
    }

    int importFolder() {
        const int32_t first = options.arguments.size() > 1 ? userSlotArgument(options.arguments[1]) : 0;
        if (int status = kCliOk; !librarianAsked(status)) return status;
        readRanges();
        Librarian librarian(*process);
        return report(librarian.import(options.arguments[0], first));
    }

    int setlists() {
        process->setlists().read();
        JsonWriter json;
        json.beginObject().key("count").value(static_cast<int32_t>(process->setlists().count()));
        json.key("slots")
            .value(static_cast<int32_t>(process->setlists().slotsPerSetlist()))
            .key("setlists")
            .beginArray();
        int32_t index = 0;
        for (const PedalSetlists::Record& record : process->setlists().records()) {
            json.beginObject().key("index").value(index).key("name").value(record.name.data());
            json.key("flag").value(record.flag).key("slots").beginArray();
            if (!options.json)
                std::fprintf(out, "%2d %-32s%s\n", index, record.name.data(), record.flag ? " *" : "");
            for (int32_t k = 0; k < process->setlists().slotsPerSetlist(); ++k) {
                json.beginObject().key("preset").value(static_cast<int32_t>(record.preset(k)));
                json.key("program").value(static_cast<int32_t>(record.program(k))).endObject();
                if (!options.json && record.preset(k) != tovan::proto::kEmptySlot)
                    std::fprintf(out, "   slot %2d: %s  program %d\n", k + 1,
                                 presetLabel(record.preset(k)).c_str(), record.program(k));
            }
            json.endArray().endObject();
            ++index;
        }
        json.endArray().endObject();
        if (options.json) print(json);
        return kCliOk;
    }

    int dump(const std::string& path) {
        const auto bytes = readFile(path);
        if (!bytes) return kCliFailed;
        const presetfile::DecodedFile file = presetfile::decodeFile(*bytes);
        if (file.status == presetfile::FileStatus::TooShort || file.flags.damaged)
            return fail(path + ": the file is not valid or it may be corrupt");
        if (file.status == presetfile::FileStatus::Foreign)
            return fail(path + " is not a Tovan preset or backup file");
        if (file.status == presetfile::FileStatus::NewerFormat || file.flags.newer)
            return fail(path + " needs a newer version of this program");

        JsonWriter json;
        const bool backupFile = file.kind == presetfile::FileKind::Backup;
        json.beginObject().key("kind").value(backupFile ? "backup" : "preset").key("presets").beginArray();
        for (const presetfile::PresetContents& preset : file.presets) {
            const presetfile::PresetName name = preset.name.value_or(presetfile::PresetName{});
            json.beginObject().key("name").value(name.shortName).key("description").value(name.description);
            json.key("values").beginObject();
            for (const presetfile::ParameterValue& v : preset.values)
                json.key(std::to_string(v.index)).value(v.value);
            json.endObject().endObject();
            if (!options.json)
                std::fprintf(out, "%-3s | %s\n", name.shortName.c_str(), name.description.c_str());
        }
        json.endArray().key("globals").beginObject();
        if (file.globals)
            for (const presetfile::ParameterValue& v : *file.globals)
                json.key(std::to_string(v.index)).value(v.value);
        json.endObject().key("setlists").beginObject();
        const presetfile::SetlistContents setlists = file.setlists.value_or(presetfile::SetlistContents{});
        json.key("count")
            .value(setlists.count)
            .key("slots")
            .value(setlists.slots)
            .key("entries")
            .beginArray();
        // A slot's program and preset arrive as two entries; they are listed together.
        std::map<std::pair<int32_t, int32_t>, std::pair<int32_t, int32_t>> slots;
        for (const presetfile::SetlistEntry& entry : setlists.entries) {
            auto& slot = slots.try_emplace({entry.setlist, entry.slot}, 255, 0).first->second;
            (entry.field == presetfile::SetlistField::Preset ? slot.first : slot.second) = entry.value;
        }
        for (const auto& [where, slot] : slots) {
            json.beginObject().key("setlist").value(where.first).key("slot").value(where.second);
            json.key("preset").value(slot.first).key("program").value(slot.second).endObject();
        }
        json.endArray().endObject().endObject();
        if (options.json)
            print(json);
        else
            std::fprintf(out, "%s file: %zu preset%s%s\n", backupFile ? "backup" : "preset",
                         file.presets.size(), file.presets.size() == 1 ? "" : "s",
                         file.complete ? "" : " (incomplete)");
        if (!file.complete) return fail(path + ": the file is incomplete");
        return kCliOk;
    }

    Options options;
    std::FILE* out;
    std::FILE* err;
    TerminalDialogs dialogs;
    CliView view;
    ServedBy served;
    std::unique_ptr<tovan::HidBackend> backend;
    // Questions the link needs answered mid-operation, asked on the terminal.
    asking::DialogQuestions questions;
    std::unique_ptr<TovanProcess> process;
    bool checkedItself = false;
    bool handedOver = false;
    int handedStatus = kCliOk;

public:
    // The link, with the handles of the back end it holds, goes first.
    ~Cli() { process.reset(); }
};

std::optional<Options> parseOptions(int argc, char** argv, std::string& problem) {
    Options options;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string argument = argv[i];
        auto valueOf = [&](const std::string& name) -> std::optional<std::string> {
            if (argument.rfind(name + "=", 0) == 0) return argument.substr(name.size() + 1);
            if (argument == name && i + 1 < argc) return std::string(argv[++i]);
            return std::nullopt;
        };
        if (argument == "--yes" || argument == "-y") {
            options.yes = true;
        } else if (argument == "--json") {
            options.json = true;
        } else if (argument.rfind("--pedal", 0) == 0) {
            const auto value = valueOf("--pedal");
            if (!value) return problem = "--pedal needs a value", std::nullopt;
            options.pedal = *value;
        } else if (argument.rfind("--wait", 0) == 0) {
            const auto value = valueOf("--wait");
            char* end = nullptr;
            options.waitSeconds = value ? std::strtod(value->c_str(), &end) : -1;
            if (!value || value->empty() || *end != 0 || !(options.waitSeconds >= 0))
                return problem = "--wait needs a number of seconds", std::nullopt;
        } else if (argument.rfind("--device", 0) == 0) {
            const auto value = valueOf("--device");
            if (!value || !parseInt(*value, options.device) || options.device < 0)
                return problem = "--device needs a place in the list (0, 1, ...)", std::nullopt;
        } else if (argument == "--help" || argument == "-h") {
            return problem = "help", std::nullopt;
        } else if (!argument.empty() && argument[0] == '-' && argument != "-") {
            return problem = "unknown option '" + argument + "'", std::nullopt;
        } else {
            break;
        }
    }
    if (i >= argc) return problem = "no command given", std::nullopt;
    options.command = argv[i++];
    for (; i < argc; ++i) {
        const std::string argument = argv[i];
        // Options may also follow the command.
        if (argument == "--yes" || argument == "-y")
            options.yes = true;
        else if (argument == "--json")
            options.json = true;
        else
            options.arguments.push_back(argument);
    }
    return options;
}

} // namespace

int runCli(int argc, char** argv, std::FILE* input, std::FILE* output, std::FILE* errors) {
    std::string problem;
    std::optional<Options> options = parseOptions(argc, argv, problem);
    if (!options) {
        if (problem == "help") {
            std::fputs(kUsage, output);
            return kCliOk;
        }
        std::fprintf(errors, "tovan-cli: %s\n%s", problem.c_str(), kUsage);
        return kCliUsage;
    }
    Cli cli(std::move(*options), input, output, errors);
    return cli.run();
}

int runCliServed(const std::vector<std::string>& arguments, tovan::HidBackend& pedals,
                 const std::string& pedalPath, PedalView* progress, std::FILE* output, std::FILE* errors) {
    std::vector<std::string> words{"tovan-cli"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    std::string problem;
    std::optional<Options> options = parseOptions(static_cast<int>(argv.size()), argv.data(), problem);
    if (!options) {
        std::fprintf(errors, "tovan-cli: %s\n%s", problem.c_str(), kUsage);
        return kCliUsage;
    }
    if (!commandsTheEditorServes().count(options->command)) {
        std::fprintf(errors, "tovan-cli: the editor does not run '%s' for tovan-cli\n",
                     options->command.c_str());
        return kCliFailed;
    }
    // Nothing is asked on the editor's terminal.
    std::FILE* nothing = std::fopen("/dev/null", "r");
    int status = kCliFailed;
    {
        Cli cli(std::move(*options), nothing, output, errors, ServedBy{&pedals, pedalPath, progress});
        status = cli.run();
    }
    if (nothing != nullptr) std::fclose(nothing);
    return status;
}
