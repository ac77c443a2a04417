// tunova-skingen: draws the skin at build time.
//   tunova-skingen --skin-dir DIR --source FILE [--preview DIR] [--icon-dir DIR]
// Fails (exit status 1) with a message when no font with Hangul is installed, since the skin's
// captions are Korean.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/draw/draw.h"
#include "platform/window/application.h"
#include "tools/skingen/generate.h"

int main(int argc, char** argv) {
    skingen::Output out;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--skin-dir") {
            out.skinDir = argv[i + 1];
        } else if (flag == "--source") {
            out.sourcePath = argv[i + 1];
        } else if (flag == "--preview") {
            out.previewDir = argv[i + 1];
        } else if (flag == "--icon-dir") {
            out.iconDir = argv[i + 1];
        }
    }
    if (out.skinDir.empty() || out.sourcePath.empty()) {
        std::fprintf(stderr,
                     "usage: tunova-skingen --skin-dir DIR --source FILE [--preview DIR] "
                     "[--icon-dir DIR]\n");
        return 2;
    }
    // Drawing needs no display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const auto start = std::chrono::steady_clock::now();
    plat::Application app(argc, argv);
    if (plat::KoreanFontFamily().empty()) {
        std::fprintf(
            stderr,
            "tunova-skingen: no installed font covers Hangul, and the skin's captions are "
            "Korean. Install one (Debian: apt-get install fonts-nanum) and build again.\n");
        return 1;
    }
    skingen::Totals totals;
    std::string error;
    if (!skingen::GenerateSkin(out, &totals, &error)) {
        std::fprintf(stderr, "tunova-skingen: %s\n", error.c_str());
        return 1;
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    std::printf("tunova-skingen: %d bitmaps and %d skin files in %lld ms (%zu + %zu bytes)\n",
                totals.bitmaps, totals.files, static_cast<long long>(ms), totals.bytes1x,
                totals.bytes2x);
    return 0;
}
