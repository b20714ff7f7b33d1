#pragma once
// The keeper's state file: one room a line, "<channel> <topic>". It lets
// rooms outlive a restart of the chat server and of the keeper.
#include "RoomKeeper.h"

#include <string>
#include <vector>

namespace keeper {

class RoomStore {
public:
    explicit RoomStore(std::string path) : m_path(std::move(path)) {}

    // A missing file is an empty store; lines that are not rooms are skipped.
    std::vector<RoomKeeper::Room> Load() const;
    // Writes a new file and puts it in place, so a crash leaves the old one.
    bool Save(const std::vector<RoomKeeper::Room>& rooms, std::string& error) const;

private:
    std::string m_path;
};

}  // namespace keeper
