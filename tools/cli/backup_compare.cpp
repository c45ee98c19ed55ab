#include "tools/cli/backup_compare.h"

#include <map>
#include <tuple>

#include "model/pedal_parameters.h"
#include "model/pedal_values.h"

namespace {

using Values = std::map<int32_t, int32_t>;

Values valuesOf(const std::vector<presetfile::ParameterValue>& list) {
    Values values;
    for (const presetfile::ParameterValue& v : list)
        values[v.index] = v.value;
    return values;
}

std::string valueText(const Values& values, int32_t index) {
    const auto found = values.find(index);
    return found == values.end() ? "missing" : std::to_string(found->second);
}

void compareValues(const std::string& where, const Values& file, const Values& pedal,
                   std::vector<std::string>& out) {
    Values all = file;
    all.insert(pedal.begin(), pedal.end());
    for (const auto& [index, unused] : all) {
        const std::string inFile = valueText(file, index);
        const std::string onPedal = valueText(pedal, index);
        if (inFile == onPedal) continue;
        const std::string_view name = parameterName(index);
        out.push_back(where + " parameter " + std::to_string(index) + " (" + std::string(name) + "): file " +
                      inFile + ", pedal " + onPedal);
    }
}

void compareText(const std::string& where, const std::string& what, const std::string& file,
                 const std::string& pedal, std::vector<std::string>& out) {
    if (file != pedal) out.push_back(where + " " + what + ": file \"" + file + "\", pedal \"" + pedal + "\"");
}

} // namespace

std::vector<std::string> backupDifferences(const presetfile::DecodedFile& file,
                                           const presetfile::DecodedFile& pedal) {
    std::vector<std::string> out;
    compareValues("global", valuesOf(file.globals.value_or(std::vector<presetfile::ParameterValue>{})),
                  valuesOf(pedal.globals.value_or(std::vector<presetfile::ParameterValue>{})), out);

    const presetfile::SetlistContents fileLists = file.setlists.value_or(presetfile::SetlistContents{});
    const presetfile::SetlistContents pedalLists = pedal.setlists.value_or(presetfile::SetlistContents{});
    if (fileLists.count != pedalLists.count || fileLists.slots != pedalLists.slots)
        out.push_back("setlists: file " + std::to_string(fileLists.count) + " of " +
                      std::to_string(fileLists.slots) + " slots, pedal " + std::to_string(pedalLists.count) +
                      " of " + std::to_string(pedalLists.slots) + " slots");
    using SlotField = std::tuple<int32_t, int32_t, int>;
    std::map<SlotField, std::pair<int32_t, int32_t>> slots;
    for (const auto& entry : fileLists.entries)
        slots[{entry.setlist, entry.slot, static_cast<int>(entry.field)}].first = entry.value + 1;
    for (const auto& entry : pedalLists.entries)
        slots[{entry.setlist, entry.slot, static_cast<int>(entry.field)}].second = entry.value + 1;
    for (const auto& [where, values] : slots) {
        if (values.first == values.second) continue;
        const auto text = [](int32_t stored) {
            return stored == 0 ? std::string("missing") : std::to_string(stored - 1);
        };
        out.push_back("setlist " + std::to_string(std::get<0>(where) + 1) + " slot " +
                      std::to_string(std::get<1>(where) + 1) +
                      (std::get<2>(where) == static_cast<int>(presetfile::SetlistField::Preset)
                           ? " preset"
                           : " program") +
                      ": file " + text(values.first) + ", pedal " + text(values.second));
    }

    const size_t presets = std::max(file.presets.size(), pedal.presets.size());
    for (size_t slot = 0; slot < presets; ++slot) {
        const std::string label = presetLabel(kPresetsPerBank + static_cast<int32_t>(slot));
        if (slot >= file.presets.size() || slot >= pedal.presets.size()) {
            out.push_back(label + ": only in the " +
                          std::string(slot < file.presets.size() ? "file" : "pedal"));
            continue;
        }
        const presetfile::PresetName fileName = file.presets[slot].name.value_or(presetfile::PresetName{});
        const presetfile::PresetName pedalName = pedal.presets[slot].name.value_or(presetfile::PresetName{});
        compareText(label, "name", fileName.shortName, pedalName.shortName, out);
        compareText(label, "description", fileName.description, pedalName.description, out);
        compareValues(label, valuesOf(file.presets[slot].values), valuesOf(pedal.presets[slot].values), out);
    }
    return out;
}
