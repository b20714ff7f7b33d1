// A reader-writer lock that lets a waiting writer in before new readers.
// std::shared_mutex on glibc prefers readers: with many short overlapping
// reads (every record asks the graph for a rank) a change of the graph could
// wait for seconds. Usable with std::shared_lock and std::unique_lock.
#pragma once

#include <pthread.h>

namespace orv {

class OrvRwLock {
public:
    OrvRwLock();
    ~OrvRwLock();
    OrvRwLock(const OrvRwLock&) = delete;
    OrvRwLock& operator=(const OrvRwLock&) = delete;

    void lock();
    void unlock();
    void lock_shared();
    bool try_lock_shared();
    void unlock_shared();

private:
    pthread_rwlock_t lock_;
};

}  // namespace orv
