// skingen: draws the bitmaps of the shipped skins and writes their Skin.Ini.
//   skingen --out DIR [--generated-ini DIR] [--sheets DIR]
//       bitmaps into DIR/<skin>/, the Skin.Ini the generator would write into
//       the --generated-ini folder, contact sheets and main-window previews (PNG)
//       into the --sheets folder
//   skingen --write-ini SKINS
//       rewrites SKINS/<skin>/Skin.Ini (the committed files) from the generator
#include "ContactSheet.h"
#include "Preview.h"
#include "SkinArt.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using namespace skingen;

namespace {

int usage() {
    std::fprintf(stderr, "usage: skingen --out DIR [--generated-ini DIR] [--sheets DIR]\n"
                         "       skingen --write-ini SKINS_FOLDER\n");
    return 2;
}

bool ensureFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    return fs::is_directory(folder);
}

}  // namespace

int main(int argc, char** argv) {
    std::string out, generatedIni, sheets, writeIni;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--out") && hasValue) out = argv[++i];
        else if (!std::strcmp(argv[i], "--generated-ini") && hasValue) generatedIni = argv[++i];
        else if (!std::strcmp(argv[i], "--sheets") && hasValue) sheets = argv[++i];
        else if (!std::strcmp(argv[i], "--write-ini") && hasValue) writeIni = argv[++i];
        else return usage();
    }
    if (out.empty() == writeIni.empty())
        return usage();

    try {
        for (const Theme& theme : shippedThemes()) {
            const SkinOutput skin = generateSkin(theme);
            if (!writeIni.empty()) {
                const fs::path folder = fs::path(writeIni) / theme.directory;
                if (!ensureFolder(folder) || !skin.writeIni((folder / "Skin.Ini").string())) {
                    std::fprintf(stderr, "skingen: cannot write %s\n", (folder / "Skin.Ini").c_str());
                    return 1;
                }
                continue;
            }
            const fs::path folder = fs::path(out) / theme.directory;
            if (!ensureFolder(folder) || !skin.writeBitmaps(folder.string())) {
                std::fprintf(stderr, "skingen: cannot write the bitmaps into %s\n", folder.c_str());
                return 1;
            }
            if (!generatedIni.empty()) {
                const fs::path iniFolder = fs::path(generatedIni) / theme.directory;
                if (!ensureFolder(iniFolder) || !skin.writeIni((iniFolder / "Skin.Ini").string())) {
                    std::fprintf(stderr, "skingen: cannot write %s\n", iniFolder.c_str());
                    return 1;
                }
            }
            if (!sheets.empty()) {
                const fs::path png = fs::path(sheets) / (theme.directory + "-sheet.png");
                const fs::path preview = fs::path(sheets) / (theme.directory + "-preview.png");
                if (!ensureFolder(sheets) || !writeContactSheet(skin, png.string()) ||
                    !writePreview(skin, preview.string())) {
                    std::fprintf(stderr, "skingen: cannot write %s\n", sheets.c_str());
                    return 1;
                }
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 1;
    }
    return 0;
}
