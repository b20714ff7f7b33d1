#include "RoomStore.h"

#include "ChatNames.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace keeper {

std::vector<RoomKeeper::Room> RoomStore::Load() const {
    std::vector<RoomKeeper::Room> rooms;
    std::ifstream in(m_path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const size_t blank = line.find(' ');
        if (blank == std::string::npos) continue;
        RoomKeeper::Room room{line.substr(0, blank), line.substr(blank + 1)};
        if (ChatNames::IsRoomChannel(room.channel) && ChatNames::IsRoomRecord(room.topic)) rooms.push_back(room);
    }
    return rooms;
}

bool RoomStore::Save(const std::vector<RoomKeeper::Room>& rooms, std::string& error) const {
    const std::string temporary = m_path + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        for (const RoomKeeper::Room& room : rooms) out << room.channel << ' ' << room.topic << '\n';
        out.flush();
        if (!out) {
            error = "cannot write " + temporary;
            return false;
        }
    }
    if (std::rename(temporary.c_str(), m_path.c_str()) != 0) {
        error = "cannot replace " + m_path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace keeper
