#include "platform/hid/backend_select.h"

#include "platform/hid/hidapi/hidapi_backend.h"
#include "platform/hid/sim/sim_backend.h"
#include "platform/hid/virtual/virtual_backend.h"
#include "platform/trace.h"

#include <cstdlib>

namespace tovan {

std::unique_ptr<HidBackend> createHidBackend(const std::string& choice) {
    if (choice.empty() || choice == "usb") return std::make_unique<HidapiBackend>();
    if (choice == "sim") return std::make_unique<SimHidBackend>(1);
    if (choice.rfind("sim:", 0) == 0) {
        const std::string count = choice.substr(4);
        char* end = nullptr;
        const long n = std::strtol(count.c_str(), &end, 10);
        if (!count.empty() && *end == 0 && n >= 1 && n <= 16) return std::make_unique<SimHidBackend>(int(n));
    }
    if (choice == "virtual") return std::make_unique<VirtualHidBackend>(virtualBusFolder());
    if (choice.rfind("virtual:", 0) == 0 && choice.size() > 8)
        return std::make_unique<VirtualHidBackend>(virtualBusFolder(choice.substr(8)));
    tovanTrace("TOVAN_PEDAL: unknown choice \"%s\"\n", choice.c_str());
    return nullptr;
}

std::unique_ptr<HidBackend> createHidBackendFromEnvironment() {
    const char* choice = std::getenv("TOVAN_PEDAL");
    return createHidBackend(choice ? choice : "");
}

} // namespace tovan
