// Stands in for the maker's firmware updater in tests: checks that it was
// given a firmware image and the update-mode identity, logs its arguments to
// $TOVAN_FAKE_UPDATER_LOG, and exits with $TOVAN_FAKE_UPDATER_EXIT (0 unless set).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    std::string image;
    bool identity = false;
    if (const char* log = std::getenv("TOVAN_FAKE_UPDATER_LOG")) {
        std::ofstream out(log);
        for (int i = 1; i < argc; ++i)
            out << argv[i] << '\n';
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "-path:", 6) == 0) image = argv[i] + 6;
        if (std::strcmp(argv[i], "-id:vid_231c&pid_8002") == 0) identity = true;
    }
    std::ifstream in(image, std::ios::binary);
    char header[16] = {};
    in.read(header, sizeof header);
    const bool valid =
        in && std::memcmp(header, "PLAVIKFW", 8) == 0 && static_cast<unsigned char>(header[12]) == 0x1C &&
        static_cast<unsigned char>(header[13]) == 0x23 && static_cast<unsigned char>(header[14]) == 0x02 &&
        static_cast<unsigned char>(header[15]) == 0x80;
    if (!valid || !identity) {
        std::fprintf(stderr, "fake updater: bad image or identity\n");
        return 2;
    }
    const char* code = std::getenv("TOVAN_FAKE_UPDATER_EXIT");
    return code != nullptr ? std::atoi(code) : 0;
}
