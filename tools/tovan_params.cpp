// Prints the pedal's parameter set: index, name, pedal address, display and
// value names. A quick reference while the editor and the command-line tool
// are being built.
#include <cstdio>
#include <string>

#include "model/parameter_kinds.h"
#include "model/pedal_parameters.h"
#include "model/pedal_values.h"

int main() {
    const auto manager = buildPedalParameterSet(nullptr);
    std::printf("%-5s %-18s %-14s %-7s %s\n", "index", "name", "address", "format", "values");
    for (int32_t index = 0; index < manager->Size(); ++index) {
        if (manager->Find(index) == nullptr) continue;
        std::string address = "-";
        if (const auto field = deviceFieldOf(index))
            address = "cmd " + std::to_string(field->command) + " f" + std::to_string(field->filter) +
                      " item " + std::to_string(field->item);
        std::string values;
        for (std::string_view name : valueNames(index)) {
            if (!values.empty()) values += ", ";
            values += name;
        }
        std::printf("%-5d %-18.*s %-14s %-7s %s\n", index, static_cast<int>(parameterName(index).size()),
                    parameterName(index).data(), address.c_str(), isTenthsParameter(index) ? "%.1f" : "",
                    values.c_str());
    }
    return 0;
}
