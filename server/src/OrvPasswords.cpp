#include "OrvPasswords.h"

#include <sodium.h>

#include <algorithm>
#include <stdexcept>
#include <thread>

namespace orv {

// Holds one of the few places for a hash computation while it runs.
class OrvPasswords::Gate {
public:
    explicit Gate(OrvPasswords& owner) : owner_(owner) {
        std::unique_lock lock(owner_.mutex_);
        owner_.free_.wait(lock, [this] { return owner_.running_ < owner_.concurrentHashes_; });
        ++owner_.running_;
    }
    ~Gate() {
        {
            std::lock_guard lock(owner_.mutex_);
            --owner_.running_;
        }
        owner_.free_.notify_one();
    }
    Gate(const Gate&) = delete;
    Gate& operator=(const Gate&) = delete;

private:
    OrvPasswords& owner_;
};

OrvPasswords::OrvPasswords(std::string strength)
    : strength_(std::move(strength)),
      concurrentHashes_(std::max(1, static_cast<int>(std::thread::hardware_concurrency() / 2))) {
    if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
}

std::string OrvPasswords::hash(const std::string& password) {
    unsigned long long ops = crypto_pwhash_OPSLIMIT_INTERACTIVE;
    size_t mem = crypto_pwhash_MEMLIMIT_INTERACTIVE;
    if (strength_ == "moderate") {
        ops = crypto_pwhash_OPSLIMIT_MODERATE;
        mem = crypto_pwhash_MEMLIMIT_MODERATE;
    } else if (strength_ == "min") {
        ops = crypto_pwhash_OPSLIMIT_MIN;
        mem = crypto_pwhash_MEMLIMIT_MIN;
    }
    char out[crypto_pwhash_STRBYTES];
    Gate gate(*this);
    if (crypto_pwhash_str_alg(out, password.data(), password.size(), ops, mem, crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw std::runtime_error("password hashing ran out of memory");
    return out;
}

bool OrvPasswords::verify(const std::string& hash, const std::string& password) {
    if (hash.empty()) return false;
    Gate gate(*this);
    return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

std::string OrvPasswords::generate() {
    // No look-alike characters: the member types it from a mail.
    static const char alphabet[] = "abcdefghjkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    std::string p;
    for (int i = 0; i < 10; ++i) p += alphabet[randombytes_uniform(sizeof alphabet - 1)];
    return p;
}

}  // namespace orv
