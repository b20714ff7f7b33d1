#include "SkinArt.h"

namespace skingen {

SkinOutput generateSkin(const Theme& theme) {
    SkinOutput out(theme);
    IniDocument& ini = out.ini();
    ini.comment("Skin \"" + theme.name + "\" of Orvane. Lines end in CR LF; keep them so.");
    ini.comment("Written by tools/skingen with its bitmaps: change the generator, then run");
    ini.comment("skingen --write-ini assets/Skins (see tools/skingen/README.md).");
    ini.section("Main");
    ini.text("SkinName", theme.name);
    ini.number("BaseSkin", theme.baseSkin ? 1 : 0);

    addControlArt(out);
    addMenuArt(out);
    addPanelArt(out);
    addTreeArt(out);
    addWindowArt(out);
    return out;
}

}  // namespace skingen
