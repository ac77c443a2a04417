#include "page_support.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace tunova::testing {
namespace fs = std::filesystem;

void PumpEvents(int ms) {
    PumpUntil([] { return false; }, ms);
}

TempFolder::TempFolder(const std::string& stem) {
    std::string pattern = (fs::temp_directory_path() / (stem + "XXXXXX")).string();
    if (mkdtemp(pattern.data()) != nullptr) {
        path_ = pattern;
    }
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) {
        fs::remove_all(path_, ignored);
    }
}

void WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

}  // namespace tunova::testing
