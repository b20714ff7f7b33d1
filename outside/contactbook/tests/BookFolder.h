#pragma once
// A folder of address book files under the temporary directory, written by
// a test and removed with everything in it when the object dies.
#include <string>

class BookFolder {
public:
    BookFolder();
    ~BookFolder();
    BookFolder(const BookFolder&) = delete;
    BookFolder& operator=(const BookFolder&) = delete;

    // The root, without a trailing separator.
    const std::string& Path() const { return m_path; }
    // Writes bytes exactly as given (folders made as needed); the full path.
    std::string Write(const std::string& relative, const std::string& bytes) const;

private:
    static void RemoveTree(const std::string& path);
    std::string m_path;
};
