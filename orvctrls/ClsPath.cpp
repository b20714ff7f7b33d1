#include "ClsPath.h"

ClsPath::ClsPath() = default;

ClsPath::ClsPath(int count, const ORVCONTACTINFO* records, COLORREF textColor) {
    if (!records || count < 1) return;
    m_people.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) m_people.emplace_back(&records[i], textColor);
}

ClsPath::~ClsPath() = default;

ClsContactInfo* ClsPath::GetAt(int index) {
    return index >= 0 && index < GetCount() ? &m_people[static_cast<size_t>(index)] : nullptr;
}

const ClsContactInfo* ClsPath::GetAt(int index) const {
    return index >= 0 && index < GetCount() ? &m_people[static_cast<size_t>(index)] : nullptr;
}

int ClsPath::GetSteps() const { return m_people.empty() ? 0 : GetCount() - 1; }

CString ClsPath::Join(const char* separator) const {
    CString text;
    for (size_t i = 0; i < m_people.size(); ++i) {
        if (i > 0) text += separator ? separator : "";
        text += m_people[i].GetDisplayName();
    }
    return text;
}

int ClsPath::HitTest(int x) const {
    for (size_t i = 0; i < m_people.size(); ++i) {
        const ClsContactInfo& person = m_people[i];
        if (person.GetTextWidth() > 0 && x >= person.GetTextX() && x < person.GetTextX() + person.GetTextWidth())
            return static_cast<int>(i);
    }
    return -1;
}

void ClsPath::ClearPlaces() {
    for (ClsContactInfo& person : m_people) {
        person.SetTextX(0);
        person.SetTextWidth(0);
    }
}
