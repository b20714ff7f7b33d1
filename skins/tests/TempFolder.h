#pragma once
// A folder of its own under the temporary directory for the files a test
// writes; removed with everything in it when the object dies.
#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // Writes the bytes exactly as given; returns the file's full path.
    std::string Write(const std::string& name, const std::string& bytes);

private:
    std::string m_path;
    std::vector<std::string> m_files;
};
