#pragma once
#include "OrvRegistryTypes.h"
#include "RegistryExport.h"

#include "CString.h"

#include <vector>

// The member's favorite people: owned copies of ORVFAVORITEITEM in insertion
// order, stored as the 6000-byte "favors" value (100 slots). Nothing is
// written until Save.
class ORVREG_API OrvFavorites {
public:
    OrvFavorites() = default;
    OrvFavorites(const OrvFavorites&) = delete;
    OrvFavorites& operator=(const OrvFavorites&) = delete;
    virtual ~OrvFavorites();

    void Add(ORVFAVORITEITEM item);
    // An index outside 0 .. count - 1 does nothing.
    void Remove(int index);
    void RemoveAll();
    int GetItemCount() const;
    // A copy; all zero for an index outside the list.
    ORVFAVORITEITEM GetItemAt(int index) const;
    // Overwrites; an index at or past the end appends, a negative one does nothing.
    void SetItemAt(int index, ORVFAVORITEITEM item);
    // Index of the first item whose key equals key exactly, or -1.
    int FindItem(CString key) const;

    // Replaces the list with the stored favorites; a missing value gives none.
    void Load();
    // Stores the list; favorites past the 100th are not stored.
    void Save() const;

    // Builds an item for a person: key cut to 20 characters, display name to 32.
    static ORVFAVORITEITEM MakeItem(const CString& key, const CString& displayName);

private:
    std::vector<ORVFAVORITEITEM> m_items;  // owned copies, in insertion order
};
