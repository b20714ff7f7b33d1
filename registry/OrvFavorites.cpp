#include "OrvFavorites.h"

#include "FixedText.h"
#include "OrvRegistry.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

ORVFAVORITEITEM ZeroItem() {
    ORVFAVORITEITEM item;
    std::memset(&item, 0, sizeof item);
    return item;
}

}  // namespace

OrvFavorites::~OrvFavorites() = default;

void OrvFavorites::Add(ORVFAVORITEITEM item) { m_items.push_back(item); }

void OrvFavorites::Remove(int index) {
    if (index < 0 || index >= GetItemCount()) return;
    m_items.erase(m_items.begin() + index);
}

void OrvFavorites::RemoveAll() { m_items.clear(); }

int OrvFavorites::GetItemCount() const { return static_cast<int>(m_items.size()); }

ORVFAVORITEITEM OrvFavorites::GetItemAt(int index) const {
    if (index < 0 || index >= GetItemCount()) return ZeroItem();
    return m_items[static_cast<size_t>(index)];
}

void OrvFavorites::SetItemAt(int index, ORVFAVORITEITEM item) {
    if (index < 0) return;
    if (index >= GetItemCount()) {
        Add(item);
        return;
    }
    m_items[static_cast<size_t>(index)] = item;
}

int OrvFavorites::FindItem(CString key) const {
    for (int i = 0; i < GetItemCount(); ++i) {
        if (orvreg::LoadFixedText(m_items[static_cast<size_t>(i)].key) == key) return i;
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
    const int count = std::min(GetItemCount(), ORV_FAVORITES_SLOTS);
    for (int i = 0; i < count; ++i) {
        slots[static_cast<size_t>(i)] = m_items[static_cast<size_t>(i)];
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
