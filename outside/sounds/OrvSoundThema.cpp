#include "OrvSoundThema.h"

OrvSoundThema::OrvSoundThema(const CString& directory, const CString& folder, const CString& name)
    : m_directory(directory), m_folder(folder), m_name(name.IsEmpty() ? directory : name) {}

CString OrvSoundThema::GetEventName(int index) const {
    if (index < 0 || index >= GetEventCount()) return CString();
    return m_events[static_cast<size_t>(index)].name;
}

CString OrvSoundThema::GetSoundFile(const char* eventName) const {
    if (!eventName) return CString();
    for (const Event& event : m_events) {
        if (event.name.CompareNoCase(eventName) == 0) return event.file;
    }
    return CString();
}

void OrvSoundThema::AddEvent(const CString& eventName, const CString& file) {
    if (!GetSoundFile(eventName).IsEmpty()) return;
    m_events.push_back({eventName, file});
}
