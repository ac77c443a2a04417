// Draws every image of the skin tables and writes them out: the skin files (and their "@2x"
// companions) into the skin folder, and the numbered resources and icon sizes, PNG-encoded, into
// a C++ source compiled into the program.
#pragma once

#include <string>

namespace skingen {

struct Output {
    std::string skinDir;     // where the skin files go (created if missing)
    std::string sourcePath;  // the generated C++ source
    std::string previewDir;  // optional: contact sheets to look at (PNG)
    std::string iconDir;     // optional: the program icon as tunova-SIZE.png, for installing
};

struct Totals {
    int bitmaps = 0;
    int files = 0;
    std::size_t bytes1x = 0;
    std::size_t bytes2x = 0;
};

// Returns false with a message in `error` when an image is unknown or a file cannot be written.
bool GenerateSkin(const Output& out, Totals* totals, std::string* error);

}  // namespace skingen
