#include "app/cli_service.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "editor/editor_window.h"
#include "link/shared_pedals_backend.h"
#include "link/tovan_process.h"
#include "tools/cli/cli_app.h"

namespace {

// A stream into memory, read back as a string once closed.
class MemoryStream {
public:
    MemoryStream() : file(open_memstream(&data, &size)) {}
    ~MemoryStream() {
        close();
        std::free(data);
    }
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;

    std::FILE* stream() const { return file; }
    std::string text() {
        close();
        return data != nullptr ? std::string(data, size) : std::string();
    }

private:
    void close() {
        if (file != nullptr) std::fclose(file);
        file = nullptr;
    }
    char* data = nullptr;
    size_t size = 0;
    std::FILE* file;
};

} // namespace

CommandReply runCommandForCli(CCEditor& editor, const std::vector<std::string>& arguments,
                              const std::string& pedalPath) {
    CommandReply reply;
    TovanProcess* link = editor.process();
    MemoryStream output;
    MemoryStream errors;
    if (link == nullptr || output.stream() == nullptr || errors.stream() == nullptr) {
        reply.errors = "tovan-cli: the editor is not ready\n";
        return reply;
    }
    tovan::SharedPedalsBackend pedals(link->session().attachedPedals());
    reply.status = runCliServed(arguments, pedals, pedalPath, link->view(), output.stream(), errors.stream());
    reply.output = output.text();
    reply.errors = errors.text();
    // The command is the first word that is not an option; a list reads names only.
    const auto command = std::find_if(arguments.begin(), arguments.end(),
                                      [](const std::string& word) { return word.empty() || word[0] != '-'; });
    const bool onlyListed = command != arguments.end() && *command == "list";
    if (!onlyListed && link->session().isConnected()) link->session().reloadLocked(false);
    // Slots written for tovan-cli: the preset menus are built again.
    const bool wroteSlots =
        command != arguments.end() && (*command == "copy" || *command == "swap" || *command == "import");
    if (wroteSlots) link->presets().markNamesChanged();
    return reply;
}
