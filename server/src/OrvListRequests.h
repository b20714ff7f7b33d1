// The requests that read or change one person's list: get-tree,
// get-contacts, add-contacts, drop-contacts, drop-add-contacts,
// update-contacts and update-user.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "OrvRequest.h"
#include "OrvValidation.h"

namespace orv {

class OrvServer;

class OrvListRequests {
public:
    explicit OrvListRequests(OrvServer& server) : server_(server) {}
    OrvListRequests(const OrvListRequests&) = delete;
    OrvListRequests& operator=(const OrvListRequests&) = delete;

    std::string getTree(OrvRequest& r);
    std::string getContacts(OrvRequest& r);
    std::string addContacts(OrvRequest& r);
    std::string dropContacts(OrvRequest& r);
    std::string dropAddContacts(OrvRequest& r);
    std::string updateContacts(OrvRequest& r);
    std::string updateUser(OrvRequest& r);

private:
    std::string changeContacts(OrvRequest& r, const std::vector<uint32_t>& drops,
                               const std::vector<OrvContactItem>& adds);

    OrvServer& server_;
};

}  // namespace orv
