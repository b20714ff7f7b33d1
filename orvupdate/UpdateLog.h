#pragma once
// The updater's log: every line is appended to a text file as a blank line,
// "Log message on DD/MM HH:MM:SS", the message and a line break. Writing is
// serialised (the dialog and the extraction thread both log) and never fails
// the update.
#include "CCriticalSection.h"

#include <string>

class UpdateLog {
public:
    // The updater's own log file.
    static const char* DefaultPath() { return "C:\\OrvUpdate.log"; }

    explicit UpdateLog(std::string path) : m_path(std::move(path)) {}
    UpdateLog(const UpdateLog&) = delete;
    UpdateLog& operator=(const UpdateLog&) = delete;

    // printf-style; the message is cut to 1 024 characters.
    void Write(const char* format, ...) __attribute__((format(printf, 2, 3)));

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    CCriticalSection m_lock;
};
