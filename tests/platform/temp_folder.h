#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tovan::test {

// A fresh folder under /tmp (short, so socket paths fit), removed afterwards.
class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/tovan-test-XXXXXX";
        path_ = ::mkdtemp(pattern);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

} // namespace tovan::test
