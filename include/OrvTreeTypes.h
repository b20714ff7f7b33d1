#pragma once
// Arguments of the contact-tree control's exported operations.

// How SetData brings new tree data on screen.
enum ANIM_ACTION {
    ANIM_SELECT = 0,   // the chosen child travels to the centre
    ANIM_SQUEEZE = 1,  // the children shrink into the root, the new ones grow
    ANIM_INSTANT = 2,  // no animation
    ANIM_HIDDEN = 3,   // the squeeze without its sound
};

// What Advise hands the control.
enum ORV_INTERFACE {
    ORV_SOUNDS = 0,  // an OrvSoundSource*
};

// The picture the view paints: the tree at rest, or one of the two phases
// of the selection animation.
enum DRAW_MODE {
    DRAW_NORMAL = 0,
    DRAW_SLIDE_OUT = 1,  // the old tree moves away
    DRAW_SLIDE_IN = 2,   // the new tree arrives
};
