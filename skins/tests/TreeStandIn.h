#pragma once
// A real window standing in for the contact-tree control: it keeps a copy of
// every skin record it receives (message ORV_WM_TREE_SKIN), as the tree does.
#include "CWnd.h"
#include "TreeSkinInfo.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace skintest {

// Stands in for the tree control: keeps a copy of every record it receives.
class TreeStandIn : public CWnd {
public:
    TreeStandIn() { CreateEx(0, nullptr, "tree", WS_POPUP, 0, 0, 200, 150, nullptr, nullptr); }
    ~TreeStandIn() override { DestroyWindow(); }

    int received = 0;
    WPARAM firstParameter = 1;
    DWORD thread = 0;
    bool imageIsTheRecordsOwn = false;
    bool gapsAsMade = false;
    std::unique_ptr<TREESKININFO> copy;
#if defined(__i386__)
    COLORREF regFrameAt224 = 0, passiveFrameAt344 = 0;
    int32_t treeLeftWidthAt468 = -1;
#endif

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != ORV_WM_TREE_SKIN) return CWnd::WindowProc(message, wParam, lParam);
        const auto* record = reinterpret_cast<const TREESKININFO*>(lParam);
        ++received;
        firstParameter = wParam;
        thread = ::GetCurrentThreadId();
        imageIsTheRecordsOwn = record->TreeControl.MainImage == &record->TreeImage;
        const uint8_t zeros[16] = {};
        gapsAsMade = std::memcmp(record->Unused1, zeros, 16) == 0 && std::memcmp(record->Unused2, zeros, 16) == 0;
#if defined(__i386__)
        // The fixed 32-bit layout, read as the tree reads it.
        const auto* bytes = reinterpret_cast<const uint8_t*>(record);
        std::memcpy(&regFrameAt224, bytes + 224, 4);
        std::memcpy(&passiveFrameAt344, bytes + 344, 4);
        std::memcpy(&treeLeftWidthAt468, bytes + 468, 4);
#endif
        copy = std::make_unique<TREESKININFO>(*record);
        return 0;
    }
};

}  // namespace skintest
