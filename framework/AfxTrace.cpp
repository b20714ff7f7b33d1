#include "AfxTrace.h"

#include "CException.h"

#include <windows.h>

#include <cstdio>
#include <exception>

namespace {
volatile LONG g_tracedExceptions = 0;
}  // namespace

void AfxDescribeCaughtException(char* text, size_t size) noexcept {
    if (!text || size == 0) return;
    const std::exception_ptr current = std::current_exception();
    if (!current) {
        std::snprintf(text, size, "no exception");
        return;
    }
    try {
        std::rethrow_exception(current);
    } catch (const CException& e) {
        // A message routine of a derived class may throw in turn.
        try {
            if (!e.GetErrorMessage(text, static_cast<unsigned>(size > 0xFFFF ? 0xFFFF : size)))
                std::snprintf(text, size, "%s", e.GetRuntimeClassName());
        } catch (...) {
            std::snprintf(text, size, "%s (its message failed)", e.GetRuntimeClassName());
        }
    } catch (const std::exception& e) {
        std::snprintf(text, size, "%s", e.what());
    } catch (...) {
        std::snprintf(text, size, "unknown exception");
    }
}

void AfxTraceCaughtException(const char* where) noexcept {
    ::InterlockedIncrement(&g_tracedExceptions);
    char what[256];
    AfxDescribeCaughtException(what, sizeof what);
    char line[512];
    std::snprintf(line, sizeof line, "%s: exception caught: %s\n", where ? where : "(somewhere)", what);
    ::OutputDebugStringA(line);
}

long AfxGetTracedExceptionCount() noexcept { return g_tracedExceptions; }
