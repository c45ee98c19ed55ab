#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "editor/pedal_questions.h"
#include "link/preset_file_codec.h"
#include "link/tovan_process.h"
#include "pedal_test_support.h"
#include "platform/headless/scripted_dialogs.h"

namespace fs = std::filesystem;
using namespace presetfile;

namespace {

std::vector<std::string> corruptFiles() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(TOVAN_CORRUPT_DIR))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

class CorruptFile : public ::testing::TestWithParam<std::string> {};

} // namespace

// Each file is refused: decoding never reports a whole, undamaged file, and
// loading it into a connected pedal fails cleanly, leaving the pedal answering.
TEST_P(CorruptFile, IsRefusedCleanly) {
    const fs::path path = fs::path(TOVAN_CORRUPT_DIR) / GetParam();
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    const DecodedFile file = decodeFile(bytes);
    EXPECT_FALSE(file.status == FileStatus::Readable && file.complete && !file.flags.damaged);

    pedaltest::LoggingBackend backend;
    ScriptedDialogs dialogs;
    dialogs.answerNext(MessageAnswer::Yes);
    dialogs.answerNext(MessageAnswer::Yes);
    DialogHost* previous = setDialogHost(&dialogs);
    {
        TovanProcess process(backend);
        process.exchange().setSleeper([](std::chrono::milliseconds) {});
        process.Open();
        ASSERT_TRUE(process.session().connect());
        EXPECT_FALSE(asking::loadFile(process, path.string()));
        EXPECT_TRUE(process.exchange()
                        .request(tovan::proto::kGroupDevice, tovan::proto::device::kStatus)
                        .has_value());
    }
    setDialogHost(previous);
}

INSTANTIATE_TEST_SUITE_P(Folder, CorruptFile, ::testing::ValuesIn(corruptFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });
