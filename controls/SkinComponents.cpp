// The shared skin records are plain data; this unit gives the exported
// classes their one home (vtables, implicit members) in controls.dll and
// checks the tree record's layout in every build of the library.
#include "SkinComponents.h"
#include "TreeSkinInfo.h"
