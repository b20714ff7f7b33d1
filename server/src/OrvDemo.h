// The demo network: members with realistic names and occupations and a
// small-world acquaintance graph with hubs and non-member contacts, from a
// fixed seed, plus a handful of accounts that can log in.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orv {

class OrvServer;

struct OrvDemoAccount {
    const char* email;
    const char* password;
};

// The accounts named in the README.
const std::vector<OrvDemoAccount>& demoAccounts();

// Fills an empty store once (a mark in the store remembers it); returns
// false when the network was already there.
bool seedDemoNetwork(OrvServer& server, size_t memberCount = 10000);

}  // namespace orv
