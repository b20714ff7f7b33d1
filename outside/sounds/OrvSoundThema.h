#pragma once
// One installed sound theme: a folder under the sound base with its
// description (Theme.txt) and wave files. Holds the events whose wave file
// was there when the theme was read, in the order of the description.
#include "CString.h"
#include "SoundsExport.h"

#include <vector>

class SOUNDS_API OrvSoundThema {
public:
    // folder is the full path of the theme's folder with its trailing
    // separator; directory its own name under the sound base.
    OrvSoundThema(const CString& directory, const CString& folder, const CString& name);

    // The folder's name under the sound base, as the themes are listed.
    const CString& GetDirectory() const { return m_directory; }
    // The full path of the theme's folder, ending with a separator.
    const CString& GetFolder() const { return m_folder; }
    // The display name from the description (the directory name without one).
    const CString& GetName() const { return m_name; }

    int GetEventCount() const { return static_cast<int>(m_events.size()); }
    // The name of event index, "" when index is out of range.
    CString GetEventName(int index) const;
    // The full path of the event's wave file inside the theme's folder, or ""
    // when the theme has no such event. Event names match ignoring case.
    CString GetSoundFile(const char* eventName) const;

    // Adds an event with the full path of its file; the first of a name wins.
    void AddEvent(const CString& eventName, const CString& file);

private:
    struct Event {
        CString name;
        CString file;
    };

    CString m_directory;
    CString m_folder;
    CString m_name;
    std::vector<Event> m_events;
};
