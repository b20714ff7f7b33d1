#pragma once
// One found path: the people from the source to the destination, in order,
// each with the place its name was last drawn at.
#include "ClsContactInfo.h"
#include "OrvCtrlsExport.h"

#include "CString.h"

#include <vector>

class ORVCTRLS_API ClsPath {
public:
    ClsPath();
    // count records from records (null or count < 1: an empty path).
    ClsPath(int count, const ORVCONTACTINFO* records, COLORREF textColor = RGB(0, 0, 0));
    ~ClsPath();

    int GetCount() const { return static_cast<int>(m_people.size()); }
    // Null outside 0 .. GetCount() - 1.
    ClsContactInfo* GetAt(int index);
    const ClsContactInfo* GetAt(int index) const;
    // The steps between the ends: people - 1 (0 for an empty path).
    int GetSteps() const;
    // The display names joined by separator, none at either end.
    CString Join(const char* separator) const;
    // The person whose drawn name covers x (left edge inclusive, right
    // exclusive), -1 when none.
    int HitTest(int x) const;
    // Forgets every drawn place (names not drawn are not hit).
    void ClearPlaces();

private:
    std::vector<ClsContactInfo> m_people;
};
