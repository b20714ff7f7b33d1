#include "Theme.h"

namespace skingen {
namespace {

Theme daylight() {
    Theme t;
    t.directory = "Daylight";
    t.name = "Daylight";
    t.baseSkin = true;

    t.chrome = Rgb::hex(0xF4F6F9);
    t.content = Rgb::hex(0xFFFFFF);
    t.contentAlt = Rgb::hex(0xF6F8FB);
    t.input = Rgb::hex(0xFFFFFF);
    t.menu = Rgb::hex(0xFFFFFF);
    t.secondary = Rgb::hex(0xFFFFFF);
    t.hairline = Rgb::hex(0xDEE3EA);
    t.border = Rgb::hex(0xC6CED9);
    t.frameActive = Rgb::hex(0x9AA6B6);
    t.frameInactive = Rgb::hex(0xCDD4DD);
    t.text = Rgb::hex(0x1E293B);
    t.textMuted = Rgb::hex(0x64748B);
    t.textDisabled = Rgb::hex(0xA3ADBA);
    t.textOnAccent = Rgb::hex(0xFFFFFF);
    t.accent = Rgb::hex(0x2563EB);
    t.accentHover = Rgb::hex(0x3A74F0);
    t.accentPressed = Rgb::hex(0x1C4FC2);
    t.accentSoft = t.chrome.mix(t.accent, 0.10);
    t.accentSoftStrong = t.chrome.mix(t.accent, 0.20);
    t.accentText = Rgb::hex(0x1D4ED8);
    t.disabledFill = Rgb::hex(0xE4E8EE);
    t.danger = Rgb::hex(0xE5484D);
    t.dangerPressed = Rgb::hex(0xC7353A);
    t.online = Rgb::hex(0x16A34A);
    t.treeLines = Rgb::hex(0xC5D2E4);
    t.dragBand = Rgb::hex(0x3333F4);

    t.nodeRegistered = {Rgb::hex(0xEAF1FE), Rgb::hex(0x1E3A8A), 128, 28, 14, false};
    t.nodeRegisteredSelected = {Rgb::hex(0xDCE8FD), Rgb::hex(0x1E3A8A), 144, 32, 14, true};
    t.nodeRoot = {t.accent, Rgb::hex(0xFFFFFF), 160, 36, 15, true};
    t.nodeRootSelected = {t.accent, Rgb::hex(0xFFFFFF), 176, 36, 15, true};
    t.nodeUnregistered = {Rgb::hex(0xF1F4F8), Rgb::hex(0x334155), 128, 28, 14, false};
    t.nodeUnregisteredSelected = {Rgb::hex(0xE6EAF0), Rgb::hex(0x1E293B), 144, 32, 14, true};
    t.nodePassive = {Rgb::hex(0xF7F8FA), Rgb::hex(0x94A3B8), 128, 28, 14, false};
    t.nodePassiveSelected = {Rgb::hex(0xEFF2F5), Rgb::hex(0x64748B), 144, 32, 14, true};
    t.rootFrame = Rgb::hex(0xBFD3FB);
    t.registeredFrame = t.accent;
    t.unregisteredFrame = Rgb::hex(0x94A3B8);
    t.passiveFrame = Rgb::hex(0xC0C8D3);
    return t;
}

Theme graphite() {
    Theme t;
    t.directory = "Graphite";
    t.name = "Graphite";
    t.baseSkin = false;

    t.chrome = Rgb::hex(0x24272C);
    t.content = Rgb::hex(0x1B1D21);
    t.contentAlt = Rgb::hex(0x202327);
    t.input = Rgb::hex(0x1B1D21);
    t.menu = Rgb::hex(0x2C3036);
    t.secondary = Rgb::hex(0x30353C);
    t.hairline = Rgb::hex(0x363B42);
    t.border = Rgb::hex(0x4A515B);
    t.frameActive = Rgb::hex(0x555D68);
    t.frameInactive = Rgb::hex(0x393E45);
    t.text = Rgb::hex(0xE6E9ED);
    t.textMuted = Rgb::hex(0x9AA3AE);
    t.textDisabled = Rgb::hex(0x5E656F);
    t.textOnAccent = Rgb::hex(0x0B1F1C);
    t.accent = Rgb::hex(0x2DBFAD);
    t.accentHover = Rgb::hex(0x48CDBC);
    t.accentPressed = Rgb::hex(0x22A193);
    t.accentSoft = t.chrome.mix(t.accent, 0.16);
    t.accentSoftStrong = t.chrome.mix(t.accent, 0.28);
    t.accentText = Rgb::hex(0x5FDCCB);
    t.disabledFill = Rgb::hex(0x30343A);
    t.danger = Rgb::hex(0xE5484D);
    t.dangerPressed = Rgb::hex(0xC7353A);
    t.online = Rgb::hex(0x3DD68C);
    t.treeLines = Rgb::hex(0x3A4C50);
    t.dragBand = Rgb::hex(0x3333F4);

    t.nodeRegistered = {t.content.mix(t.accent, 0.16), Rgb::hex(0xCFF5EF), 128, 28, 14, false};
    t.nodeRegisteredSelected = {t.content.mix(t.accent, 0.28), Rgb::hex(0xFFFFFF), 144, 32, 14, true};
    t.nodeRoot = {t.accent, t.textOnAccent, 160, 36, 15, true};
    t.nodeRootSelected = {t.accent, t.textOnAccent, 176, 36, 15, true};
    t.nodeUnregistered = {Rgb::hex(0x2A2E34), Rgb::hex(0xD0D5DB), 128, 28, 14, false};
    t.nodeUnregisteredSelected = {Rgb::hex(0x343941), Rgb::hex(0xFFFFFF), 144, 32, 14, true};
    t.nodePassive = {Rgb::hex(0x222529), Rgb::hex(0x6F7782), 128, 28, 14, false};
    t.nodePassiveSelected = {Rgb::hex(0x2A2E34), Rgb::hex(0x9AA3AE), 144, 32, 14, true};
    t.rootFrame = Rgb::hex(0xA6EEE4);
    t.registeredFrame = t.accent;
    t.unregisteredFrame = Rgb::hex(0x6B7480);
    t.passiveFrame = Rgb::hex(0x4B525C);
    return t;
}

}  // namespace

std::vector<Theme> shippedThemes() { return {daylight(), graphite()}; }

}  // namespace skingen
