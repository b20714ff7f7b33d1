#pragma once
// A skins root of its own under the temporary directory, with skin folders,
// description files and bitmaps written by the test; removed with all it
// holds when the object dies.
#include <windows.h>

#include <functional>
#include <string>

class SkinRoot {
public:
    SkinRoot();
    ~SkinRoot();
    SkinRoot(const SkinRoot&) = delete;
    SkinRoot& operator=(const SkinRoot&) = delete;

    // The root, without a trailing separator.
    const std::string& Path() const { return m_path; }
    // The directory of a skin folder as the reader lists it (root\name\).
    std::string SkinDirectory(const std::string& folder) const { return m_path + "\\" + folder + "\\"; }

    void MakeFolder(const std::string& relative) const;
    // Writes bytes exactly as given (folders made as needed).
    std::string WriteFile(const std::string& relative, const std::string& bytes) const;
    // Writes folder\Skin.Ini from text whose lines end in "\n", stored with
    // CR LF line ends as skins must be.
    std::string WriteIni(const std::string& folder, const std::string& text) const;
    // Writes a 24-bit bitmap file whose pixels come from colorAt(x, y).
    std::string WriteBitmap(const std::string& relative, int width, int height,
                            const std::function<COLORREF(int, int)>& colorAt) const;
    // Copies a whole folder (one level of files) into the root.
    void CopyFolder(const std::string& from, const std::string& folder) const;

    // Reads a file whole ("" when it cannot be read).
    static std::string ReadFile(const std::string& path);

private:
    std::string m_path;
};

// Text with "\n" line ends turned into CR LF.
std::string WithCrLf(const std::string& text);
