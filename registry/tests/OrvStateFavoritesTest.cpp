#include "OrvFavorites.h"
#include "OrvRegistry.h"
#include "OrvState.h"
#include "RegistryTestSupport.h"

#include <cstring>
#include <string>

using Favorites = ProductKeyTest;

namespace {

ORVFAVORITEITEM Item(const char* key, const char* name) { return OrvFavorites::MakeItem(key, name); }

}  // namespace

TEST(State, FreshStateHasModeOneAndRoundTrips) {
    OrvState state;
    const ORVSTATEDATA data = state.GetData();
    EXPECT_EQ(data.windowMode, 1u);
    EXPECT_EQ(data.value | data.splitterPos, 0u);
    EXPECT_EQ(data.left | data.top | data.right | data.bottom, 0);
    EXPECT_EQ(data.text[0], 0);

    ORVSTATEDATA in{};
    in.value = 3;
    in.splitterPos = 210;
    in.windowMode = 0;
    in.left = -5;
    in.top = 10;
    in.right = 800;
    in.bottom = 600;
    std::memcpy(in.text, "saved window text here!", 23);
    state.SetData(in);
    const ORVSTATEDATA out = state.GetData();
    EXPECT_EQ(std::memcmp(&in, &out, sizeof in), 0);
    EXPECT_EQ(state.GetWindowRect().left, -5);

    OrvState copy(state);
    OrvState assigned;
    assigned = state;
    const ORVSTATEDATA copied = copy.GetData();
    const ORVSTATEDATA assignedData = assigned.GetData();
    EXPECT_EQ(std::memcmp(&copied, &out, sizeof out), 0);
    EXPECT_EQ(std::memcmp(&assignedData, &out, sizeof out), 0);
}

TEST(State, TextWithoutNulStopsAtTheField) {
    ORVSTATEDATA in{};
    std::memset(in.text, 'x', sizeof in.text);  // damaged: no NUL at all
    OrvState state;
    state.SetData(in);
    EXPECT_EQ(state.GetText().GetLength(), 23);
    const ORVSTATEDATA out = state.GetData();
    EXPECT_EQ(out.text[23], 0);
    state.SetText(std::string(40, 't').c_str());
    EXPECT_EQ(std::strlen(state.GetData().text), 23u);
}

TEST_F(Favorites, SaveAndLoadKeepOrderInTheStoredBlock) {
    OrvFavorites favorites;
    favorites.Add(Item("O101", "Anna Berg"));
    favorites.Add(Item("O7", "Carl"));
    favorites.Add(Item("O33", "Dora Ek"));
    favorites.Save();

    const RawValue raw = ReadRaw("favors");
    ASSERT_TRUE(raw.found);
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_BINARY));
    ASSERT_EQ(raw.bytes.size(), 6000u);
    ORVFAVORITEITEM slot;
    std::memcpy(&slot, raw.bytes.data() + 60, sizeof slot);
    EXPECT_EQ(slot.inUse, 1u);
    EXPECT_STREQ(slot.key, "O7");
    std::memcpy(&slot, raw.bytes.data() + 180, sizeof slot);
    EXPECT_EQ(slot.inUse, 0u);

    OrvFavorites loaded;
    loaded.Load();
    ASSERT_EQ(loaded.GetItemCount(), 3);
    EXPECT_STREQ(loaded.GetItemAt(0).key, "O101");
    EXPECT_STREQ(loaded.GetItemAt(1).name, "Carl");
    EXPECT_STREQ(loaded.GetItemAt(2).name, "Dora Ek");
}

TEST_F(Favorites, EmptySlotInTheMiddleIsSkipped) {
    std::vector<BYTE> block(6000, 0);
    ORVFAVORITEITEM a = Item("A", "First"), c = Item("C", "Third");
    std::memcpy(block.data(), &a, sizeof a);
    std::memcpy(block.data() + 120, &c, sizeof c);
    WriteRaw("favors", REG_BINARY, block.data(), 6000);
    OrvFavorites favorites;
    favorites.Add(Item("stale", "replaced by Load"));
    favorites.Load();
    ASSERT_EQ(favorites.GetItemCount(), 2);
    EXPECT_STREQ(favorites.GetItemAt(0).key, "A");
    EXPECT_STREQ(favorites.GetItemAt(1).key, "C");
}

TEST_F(Favorites, MissingOrDamagedBlockLoads) {
    OrvFavorites favorites;
    favorites.Load();
    EXPECT_EQ(favorites.GetItemCount(), 0);
    // A short block of garbage: slot 0 whole, slot 1 cut off after 40
    // bytes; nothing is read past it and texts stay terminated.
    std::vector<BYTE> garbage(100, 0xFF);
    WriteRaw("favors", REG_BINARY, garbage.data(), 100);
    favorites.Load();
    ASSERT_EQ(favorites.GetItemCount(), 2);
    EXPECT_EQ(std::strlen(favorites.GetItemAt(0).key), 20u);
    EXPECT_EQ(std::strlen(favorites.GetItemAt(1).name), 15u);  // where the block ends
}

TEST_F(Favorites, ListOperations) {
    OrvFavorites favorites;
    favorites.Add(Item("O1", "One"));
    favorites.Add(Item("O2", "Two"));
    favorites.SetItemAt(5, Item("O3", "Three"));  // past the end: appended
    ASSERT_EQ(favorites.GetItemCount(), 3);
    EXPECT_STREQ(favorites.GetItemAt(2).key, "O3");
    favorites.SetItemAt(-1, Item("X", "ignored"));
    favorites.SetItemAt(0, Item("O0", "Zero"));
    EXPECT_STREQ(favorites.GetItemAt(0).name, "Zero");
    EXPECT_EQ(favorites.FindItem("O2"), 1);
    EXPECT_EQ(favorites.FindItem("o2"), -1);
    EXPECT_EQ(favorites.FindItem("O"), -1);
    favorites.Remove(7);
    favorites.Remove(-1);
    EXPECT_EQ(favorites.GetItemCount(), 3);
    favorites.Remove(1);
    EXPECT_EQ(favorites.FindItem("O2"), -1);
    EXPECT_EQ(favorites.FindItem("O3"), 1);
    const ORVFAVORITEITEM outside = favorites.GetItemAt(9);
    EXPECT_EQ(outside.inUse, 0u);
    EXPECT_EQ(outside.key[0], 0);
    favorites.RemoveAll();
    EXPECT_EQ(favorites.GetItemCount(), 0);
}

TEST_F(Favorites, ItemsAreCutAndOnlyAHundredAreStored) {
    const ORVFAVORITEITEM item =
        Item("O123456789012345678901234", "Maximilian Alexander Featherstonehaugh");
    EXPECT_EQ(std::strlen(item.key), 20u);
    EXPECT_EQ(std::strlen(item.name), 32u);
    OrvFavorites favorites;
    for (int i = 0; i < 105; ++i) favorites.Add(Item(("K" + std::to_string(i)).c_str(), "n"));
    favorites.Save();
    EXPECT_EQ(ReadRaw("favors").bytes.size(), 6000u);
    OrvFavorites loaded;
    loaded.Load();
    EXPECT_EQ(loaded.GetItemCount(), 100);
    EXPECT_STREQ(loaded.GetItemAt(99).key, "K99");
}
