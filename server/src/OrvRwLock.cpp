#include "OrvRwLock.h"

#include <system_error>

namespace orv {

OrvRwLock::OrvRwLock() {
    pthread_rwlockattr_t attr;
    pthread_rwlockattr_init(&attr);
    pthread_rwlockattr_setkind_np(&attr, PTHREAD_RWLOCK_PREFER_WRITER_NONRECURSIVE_NP);
    int rc = pthread_rwlock_init(&lock_, &attr);
    pthread_rwlockattr_destroy(&attr);
    if (rc != 0) throw std::system_error(rc, std::generic_category(), "pthread_rwlock_init");
}

OrvRwLock::~OrvRwLock() { pthread_rwlock_destroy(&lock_); }

void OrvRwLock::lock() { pthread_rwlock_wrlock(&lock_); }

void OrvRwLock::unlock() { pthread_rwlock_unlock(&lock_); }

void OrvRwLock::lock_shared() { pthread_rwlock_rdlock(&lock_); }

bool OrvRwLock::try_lock_shared() { return pthread_rwlock_tryrdlock(&lock_) == 0; }

void OrvRwLock::unlock_shared() { pthread_rwlock_unlock(&lock_); }

}  // namespace orv
