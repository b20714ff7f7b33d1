#include "OrvRequest.h"

#include "OrvValidation.h"

namespace orv {

std::string OrvRequest::field(const char* name) const {
    auto it = body->find(name);
    if (it == body->end() || !it->is_string()) throw OrvAnswer{"1"};
    std::string v = it->get<std::string>();
    if (!isValidUtf8(v)) throw OrvAnswer{"1"};
    return v;
}

}  // namespace orv
