// The desktop file and the MIME types agree with each other, with the icons
// and with the files the editor writes.
#include "link/preset_file_format.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string readText(const std::string& name) {
    std::ifstream in(std::string(TOVAN_RESOURCES_DIR) + "/" + name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The keys of the desktop file's main group.
std::map<std::string, std::string> desktopEntry() {
    std::map<std::string, std::string> keys;
    std::istringstream in(readText("tovan.desktop"));
    std::string line, group;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '[') {
            group = line;
            continue;
        }
        const size_t eq = line.find('=');
        if (group == "[Desktop Entry]" && eq != std::string::npos)
            keys[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return keys;
}

std::vector<std::string> splitList(const std::string& list) {
    std::vector<std::string> items;
    std::istringstream in(list);
    std::string item;
    while (std::getline(in, item, ';'))
        if (!item.empty()) items.push_back(item);
    return items;
}

// One <mime-type> of the shared-mime-info file, read as far as we write it.
struct MimeType {
    std::string glob, magic, offset;
};

std::string attribute(const std::string& text, const std::string& tag, const std::string& name) {
    const size_t at = text.find("<" + tag + " ");
    if (at == std::string::npos) return {};
    const size_t end = text.find('>', at);
    const size_t key = text.find(" " + name + "=\"", at);
    if (key == std::string::npos || key > end) return {};
    const size_t start = key + name.size() + 3;
    return text.substr(start, text.find('"', start) - start);
}

std::map<std::string, MimeType> mimeTypes() {
    std::map<std::string, MimeType> types;
    const std::string xml = readText("tovan-mime.xml");
    for (size_t at = xml.find("<mime-type "); at != std::string::npos; at = xml.find("<mime-type ", at + 1)) {
        const std::string block = xml.substr(at, xml.find("</mime-type>", at) - at);
        types[attribute(block, "mime-type", "type")] = {attribute(block, "glob", "pattern"),
                                                        attribute(block, "match", "value"),
                                                        attribute(block, "match", "offset")};
    }
    return types;
}

TEST(DesktopFiles, TheLauncherOpensBothFileTypesWithTheEditor) {
    auto entry = desktopEntry();
    EXPECT_EQ(entry["Exec"], "tovan %F");
    EXPECT_EQ(entry["Icon"], "tovan");
    EXPECT_EQ(entry["StartupWMClass"], "tovan");
    EXPECT_EQ(entry["Terminal"], "false");
    const auto listed = splitList(entry["MimeType"]);
    std::set<std::string> declared;
    for (const auto& [type, _] : mimeTypes())
        declared.insert(type);
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), declared);
    EXPECT_EQ(listed.size(), 2u);
}

TEST(DesktopFiles, MimeTypesMatchTheExtensionsAndKindTextsTheEditorWrites) {
    auto types = mimeTypes();
    struct Expect {
        const char* type;
        presetfile::FileKind kind;
        std::string_view extension;
    };
    const Expect expected[] = {
        {"application/x-tovan-preset", presetfile::FileKind::Preset, presetfile::kPresetExtension},
        {"application/x-tovan-backup", presetfile::FileKind::Backup, presetfile::kBackupExtension},
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.type);
        ASSERT_EQ(types.count(e.type), 1u);
        const MimeType& type = types[e.type];
        EXPECT_EQ(type.glob, "*." + std::string(e.extension));
        // The magic is what a written file starts with, at the offset it sits.
        presetfile::Writer writer;
        writer.fileHeader(e.kind);
        const auto& bytes = writer.bytes();
        const size_t offset = std::stoul(type.offset);
        ASSERT_LE(offset + type.magic.size(), bytes.size());
        EXPECT_EQ(std::string(bytes.begin() + long(offset), bytes.begin() + long(offset + type.magic.size())),
                  type.magic);
        EXPECT_EQ(type.magic.size(), presetfile::FileHeader{}.kind.size());
    }
}

} // namespace
