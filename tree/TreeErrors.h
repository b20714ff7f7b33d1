#pragma once
// The failures the tree library raises, with the texts and the places its
// messages name. Private to the library.
#include "CIndexOfBoundException.h"
#include "CTreeException.h"

namespace tree_errors {

constexpr const char* kNodesListFile = "NodesList";
constexpr const char* kTreeViewFile = "TreeView";

// Places in TreeView that need the skin.
constexpr int kLineLayoutMargins = 228;
constexpr int kLinePainting = 540;
constexpr int kLineDrawingNode = 40;

[[noreturn]] inline void ThrowTooFewNodes() {
    throw CTreeException("Too few nodes", 45, kNodesListFile);
}

[[noreturn]] inline void ThrowSkinNotInitialized(int line) {
    throw CTreeException("Use uninitialized parametr. Skin not initialized !\n", line,
                         kTreeViewFile);
}

[[noreturn]] inline void ThrowNoVisibleChild() {
    throw CIndexOfBoundException("invalid index", 79, kNodesListFile);
}

[[noreturn]] inline void ThrowInvalidState() {
    throw CIndexOfBoundException("Invalid sate", 87, kTreeViewFile);
}

}  // namespace tree_errors
