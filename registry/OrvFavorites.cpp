#include "OrvFavorites.h"

#include "FixedText.h"
#include "OrvRegistry.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

ORVFAVORITEITEM* At(const CPtrArray& items, int index) {
    return static_cast<ORVFAVORITEITEM*>(items.GetAt(index));
}

ORVFAVORITEITEM ZeroItem() {
    ORVFAVORITEITEM item;
    std::memset(&item, 0, sizeof item);
    return item;
}

}  // namespace

OrvFavorites::~OrvFavorites() { RemoveAll(); }

void OrvFavorites::Add(ORVFAVORITEITEM item) { m_items.Add(new ORVFAVORITEITEM(item)); }

void OrvFavorites::Remove(int index) {
    if (index < 0 || index >= m_items.GetSize()) return;
    delete At(m_items, index);
    m_items.RemoveAt(index);
}

void OrvFavorites::RemoveAll() {
    for (int i = 0; i < m_items.GetSize(); ++i) delete At(m_items, i);
    m_items.RemoveAll();
}

int OrvFavorites::GetItemCount() const { return m_items.GetSize(); }

ORVFAVORITEITEM OrvFavorites::GetItemAt(int index) const {
    const ORVFAVORITEITEM* item = At(m_items, index);
    return item ? *item : ZeroItem();
}

void OrvFavorites::SetItemAt(int index, ORVFAVORITEITEM item) {
    if (index < 0) return;
    if (index >= m_items.GetSize()) {
        Add(item);
        return;
    }
    *At(m_items, index) = item;
}

int OrvFavorites::FindItem(CString key) const {
    for (int i = 0; i < m_items.GetSize(); ++i) {
        const ORVFAVORITEITEM* item = At(m_items, i);
        if (orvreg::LoadFixedText(item->key) == key) return i;
    }
    return -1;
}

void OrvFavorites::Load() {
    RemoveAll();
    std::vector<ORVFAVORITEITEM> slots(ORV_FAVORITES_SLOTS, ZeroItem());
    OrvRegistry().GetBinary(HKEY_LOCAL_MACHINE, OrvRegistry::kProductKey, "favors",
                            reinterpret_cast<BYTE*>(slots.data()), ORV_FAVORITES_BLOCK_SIZE);
    for (ORVFAVORITEITEM& slot : slots) {
        if (slot.inUse == 0) continue;
        // Stored texts are ended within their fields, whatever the block held.
        slot.key[sizeof slot.key - 1] = 0;
        slot.name[sizeof slot.name - 1] = 0;
        Add(slot);
    }
}

void OrvFavorites::Save() const {
    std::vector<ORVFAVORITEITEM> slots(ORV_FAVORITES_SLOTS, ZeroItem());
    const int count = std::min(m_items.GetSize(), ORV_FAVORITES_SLOTS);
    for (int i = 0; i < count; ++i) {
        slots[static_cast<size_t>(i)] = *At(m_items, i);
        slots[static_cast<size_t>(i)].inUse = 1;
    }
    OrvRegistry().SetBinary(HKEY_LOCAL_MACHINE, OrvRegistry::kProductKey, "favors",
                            reinterpret_cast<const BYTE*>(slots.data()), ORV_FAVORITES_BLOCK_SIZE);
}

ORVFAVORITEITEM OrvFavorites::MakeItem(const CString& key, const CString& displayName) {
    ORVFAVORITEITEM item = ZeroItem();
    item.inUse = 1;
    orvreg::StoreFixedText(item.key, key);
    orvreg::StoreFixedText(item.name, displayName);
    return item;
}
