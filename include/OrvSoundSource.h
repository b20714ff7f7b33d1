#pragma once
// What the contact-tree control asks of its sound source, handed to it with
// Advise(ORV_SOUNDS, object). The tree keeps the object as a plain pointer
// and calls GetSoundFile through the first slot of its virtual table, so an
// implementing class must name this interface as its first base and keep
// GetSoundFile the first virtual operation here.
#include "CString.h"

class OrvSoundSource {
public:
    // The full path of the wave file of a sound event ("PageSelect",
    // "ActionSqueeze", "ActionSelect", ...), or "" when the event has none:
    // the caller then plays nothing.
    virtual CString GetSoundFile(const char* eventName) const = 0;

protected:
    // The tree never owns its sound source, so it never deletes through here.
    ~OrvSoundSource() = default;
};
