#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "link/preset_file_codec.h"

using namespace presetfile;

namespace {

// A recognisable value for every parameter: negative for filter 2.
int32_t sampleValue(int32_t index) {
    return index < 53 ? index * 3 : -index;
}

uint32_t u32At(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

std::vector<uint8_t> presetFile(const PresetName& name, const ValueSource& valueOf = sampleValue) {
    Writer writer;
    writer.fileHeader(FileKind::Preset);
    writePresetChunk(writer, name, valueOf);
    return writer.bytes();
}

// Rewrites the version of the n-th chunk with this tag.
void setChunkVersion(std::vector<uint8_t>& bytes, std::string_view tag, int nth, uint32_t version) {
    for (size_t at = 0; at + 16 <= bytes.size(); ++at) {
        if (std::memcmp(bytes.data() + at, tag.data(), 4) == 0 && nth-- == 0) {
            bytes[at + 12] = static_cast<uint8_t>(version);
            return;
        }
    }
    FAIL() << "no chunk " << tag;
}

} // namespace

TEST(PresetFileWriter, APresetFileHasItsFixedShape) {
    const auto bytes = presetFile({"Wah", "Classic wah"});
    ASSERT_EQ(bytes.size(), 468u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 16), "PLAVIK-TOVAN-pre");
    EXPECT_EQ(u32At(bytes, 16), 0x762D53D4u);
    EXPECT_EQ(bytes[16], 0xD4);
    EXPECT_EQ(u32At(bytes, 20), 0u);
    EXPECT_EQ(u32At(bytes, 24), 1u);

    EXPECT_EQ(std::string(bytes.begin() + 28, bytes.begin() + 32), "pret");
    EXPECT_EQ(u32At(bytes, 32), 424u);
    EXPECT_EQ(u32At(bytes, 40), 1u);
    EXPECT_EQ(std::string(bytes.begin() + 44, bytes.begin() + 48), "name");
    EXPECT_EQ(u32At(bytes, 48), 28u);
    EXPECT_EQ(std::memcmp(bytes.data() + 60, "Wah\0Classic wah\0\0\0\0\0\0\0\0\0\0\0\0\0", 28), 0);
    EXPECT_EQ(std::string(bytes.begin() + 88, bytes.begin() + 92), "levl");
    EXPECT_EQ(u32At(bytes, 92), 20u);
    // levl: parameter 9 has code 2 and value 27.
    EXPECT_EQ(bytes[104], 2);
    EXPECT_EQ(bytes[106], 27);
    // The last entry is filter 2's code 'v' for parameter 91, value -91.
    EXPECT_EQ(bytes[464], 'v');
    EXPECT_EQ(static_cast<int16_t>(bytes[466] | bytes[467] << 8), -91);
}

TEST(PresetFileWriter, NamesAreCutToTheirFields) {
    const auto bytes = presetFile({"Longer", "A description of more than twenty"});
    EXPECT_EQ(std::memcmp(bytes.data() + 60, "Lon\0A description of mor\0\0\0\0", 28), 0);
}

TEST(PresetFileWriter, ValuesAreTruncatedToSixteenBits) {
    const auto bytes = presetFile({}, [](int32_t index) { return index == 9 ? 70000 : 0; });
    EXPECT_EQ(static_cast<uint16_t>(bytes[106] | bytes[107] << 8), 70000 & 0xFFFF);
}

TEST(PresetFileReader, ARoundTripGivesBackEveryValueAndTheName) {
    const auto bytes = presetFile({"Wah", "Classic wah"});
    Reader reader(bytes);
    ASSERT_EQ(reader.fileHeader()->fileKind(), FileKind::Preset);
    PresetContents contents;
    ReadFlags flags;
    ASSERT_TRUE(readPresetChunk(reader, contents, flags));
    EXPECT_FALSE(flags.newer);
    EXPECT_FALSE(flags.damaged);
    EXPECT_EQ(contents.name->shortName, "Wah");
    EXPECT_EQ(contents.name->description, "Classic wah");
    ASSERT_EQ(contents.values.size(), 5u + 78u);
    std::map<int32_t, int16_t> byIndex;
    for (const ParameterValue& v : contents.values)
        byIndex[v.index] = v.value;
    EXPECT_EQ(byIndex.size(), 83u);
    for (int32_t index = 9; index <= 91; ++index)
        EXPECT_EQ(byIndex[index], sampleValue(index)) << index;

    PresetContents none;
    EXPECT_FALSE(readPresetChunk(reader, none, flags)); // no second preset
}

TEST(PresetFileReader, ANewerSecondFilterAppliesTheRestAndSaysSo) {
    auto bytes = presetFile({"Wah", "x"});
    setChunkVersion(bytes, "filt", 1, 2);
    Reader reader(bytes);
    reader.fileHeader();
    PresetContents contents;
    ReadFlags flags;
    EXPECT_TRUE(readPresetChunk(reader, contents, flags));
    EXPECT_TRUE(flags.newer);
    EXPECT_EQ(contents.values.size(), 5u + 39u);
    EXPECT_EQ(contents.values.back().index, 52);
}

TEST(PresetFileReader, ANewerPresetIsSkippedWhole) {
    Writer writer;
    writer.fileHeader(FileKind::Backup);
    writePresetChunk(writer, {"One", ""}, sampleValue);
    writePresetChunk(writer, {"Two", ""}, sampleValue);
    auto bytes = writer.bytes();
    setChunkVersion(bytes, "pret", 0, 7);
    Reader reader(bytes);
    reader.fileHeader();
    PresetContents first, second;
    ReadFlags flags;
    EXPECT_TRUE(readPresetChunk(reader, first, flags));
    EXPECT_TRUE(flags.newer);
    EXPECT_TRUE(first.values.empty());
    EXPECT_TRUE(readPresetChunk(reader, second, flags));
    EXPECT_EQ(second.name->shortName, "Two");
}

TEST(PresetFileReader, MissingAndDamagedChunksFailCleanly) {
    // A preset without its name chunk still yields its values, but is incomplete.
    auto bytes = presetFile({"Wah", ""});
    std::memcpy(bytes.data() + 44, "nome", 4);
    {
        Reader reader(bytes);
        reader.fileHeader();
        PresetContents contents;
        ReadFlags flags;
        EXPECT_FALSE(readPresetChunk(reader, contents, flags));
        EXPECT_EQ(contents.values.size(), 83u);
        EXPECT_FALSE(flags.damaged);
    }
    // A levl whose length runs past the end of the file.
    bytes = presetFile({"Wah", ""});
    bytes[92] = 0xFF;
    bytes[93] = 0xFF;
    {
        Reader reader(bytes);
        reader.fileHeader();
        PresetContents contents;
        ReadFlags flags;
        EXPECT_FALSE(readPresetChunk(reader, contents, flags));
        EXPECT_TRUE(flags.damaged);
    }
    // An entry list that is not whole entries.
    bytes = presetFile({"Wah", ""});
    bytes[92] = 19;
    {
        Reader reader(bytes);
        reader.fileHeader();
        PresetContents contents;
        ReadFlags flags;
        EXPECT_FALSE(readPresetChunk(reader, contents, flags));
        EXPECT_TRUE(flags.damaged);
    }
    // Too short for a header.
    bytes.resize(27);
    EXPECT_FALSE(Reader(bytes).fileHeader().has_value());
}

TEST(PresetFileReader, FindChunkSkipsOthersAndRestoresItsPlaceWhenMissing) {
    Writer writer;
    writer.fileHeader(FileKind::Backup);
    writer.entries("aaaa", std::vector<Entry>{{1, 1}});
    writer.entries("bbbb", std::vector<Entry>{{2, 2}, {3, 3}});
    Reader reader(writer.bytes());
    reader.fileHeader();
    ChunkHeader header;
    EXPECT_FALSE(reader.findChunk("zzzz", header));
    EXPECT_EQ(reader.position(), 28u);
    ASSERT_TRUE(reader.findChunk("bbbb", header));
    EXPECT_EQ(header.length, 8u);
    EXPECT_EQ(reader.position(), 28u + 16 + 4 + 16);
    EXPECT_FALSE(reader.findChunk("aaaa", header)); // chunks are found in file order only
}

TEST(EntryCodes, MapBothWays) {
    EXPECT_EQ(levelCode(9), 2);
    EXPECT_EQ(levelIndex(6), 13);
    EXPECT_EQ(levelIndex(7), -1);
    EXPECT_EQ(filterCode(0), 'A');
    EXPECT_EQ(filterCode(23), '|');
    EXPECT_EQ(filterCode(18), '\\');
    for (int32_t i = 0; i < 39; ++i)
        EXPECT_EQ(filterPosition(filterCode(i)), i);
    EXPECT_EQ(filterPosition('H'), -1);
    EXPECT_EQ(filterPosition('A' + 256), -1);
    EXPECT_EQ(filterIndex('A', 1), 53);
    EXPECT_EQ(globalCode(92), 257);
    EXPECT_EQ(globalIndex(275), 110);
    EXPECT_EQ(globalIndex(276), -1);
    EXPECT_EQ(setlistCode(2, 5, SetlistField::Program), 3100);
    EXPECT_EQ(setlistCode(2, 5, SetlistField::Preset), 3101);
    const auto decoded = decodeSetlistCode(3101);
    EXPECT_EQ(decoded->setlist, 2);
    EXPECT_EQ(decoded->slot, 5);
    EXPECT_EQ(decoded->field, SetlistField::Preset);
    EXPECT_FALSE(decodeSetlistCode(999).has_value());
    EXPECT_FALSE(decodeSetlistCode(3102).has_value());
}

TEST(BackupFile, GlobalsAndSetlistsRoundTrip) {
    std::vector<SetlistSlot> table(12 * 20);
    table[2 * 20 + 5] = {42, 117};
    Writer writer;
    writer.fileHeader(FileKind::Backup);
    writeGlobalChunk(writer, [](int32_t index) { return index - 90; });
    writeSetlistChunk(writer, 12, 20, table);
    const auto bytes = writer.bytes();
    EXPECT_EQ(u32At(bytes, 28 + 4), 19u * 4);
    const size_t setl = 28 + 16 + 19 * 4;
    EXPECT_EQ(std::string(bytes.begin() + setl, bytes.begin() + setl + 4), "setl");
    EXPECT_EQ(u32At(bytes, setl + 4), (2u + 480u) * 4);

    Reader reader(bytes);
    EXPECT_EQ(reader.fileHeader()->fileKind(), FileKind::Backup);
    ReadFlags flags;
    const auto globals = readGlobalChunk(reader, flags);
    ASSERT_EQ(globals->size(), 19u);
    EXPECT_EQ(globals->front(), (ParameterValue{92, 2}));
    EXPECT_EQ(globals->back(), (ParameterValue{110, 20}));
    const auto setlists = readSetlistChunk(reader, flags);
    ASSERT_TRUE(setlists.has_value());
    EXPECT_EQ(setlists->count, 12);
    EXPECT_EQ(setlists->slots, 20);
    ASSERT_EQ(setlists->entries.size(), 480u);
    const SetlistEntry& program = setlists->entries[2 * 40 + 10];
    EXPECT_EQ(program.setlist, 2);
    EXPECT_EQ(program.slot, 5);
    EXPECT_EQ(program.value, 42);
    EXPECT_EQ(setlists->entries[2 * 40 + 11].value, 117);
    EXPECT_EQ(setlists->entries[0].value, 0);
    EXPECT_EQ(setlists->entries[1].value, 255);
}

TEST(ExportName, CleansWhatFileSystemsRefuse) {
    EXPECT_EQ(suggestedPresetFileName(""), "Tovan preset");
    EXPECT_EQ(suggestedPresetFileName("a:b/c?d\te"), "a-b-c-d e");
    EXPECT_EQ(suggestedPresetFileName("x*<>|\\y"), "x-----y");
    EXPECT_EQ(suggestedPresetFileName("caf\xc3\xa9"), "caf  ");
}
