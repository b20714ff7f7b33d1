// The store's failure: the database cannot be opened, read or written.
#pragma once

#include <stdexcept>

namespace orv {

class OrvStoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace orv
