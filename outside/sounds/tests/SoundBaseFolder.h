#pragma once
// A sound base of the test's own under the temporary folder, filled with
// theme folders, descriptions and small wave files, and removed with all
// its contents when the object dies.
#include <initializer_list>
#include <string>

class SoundBaseFolder {
public:
    SoundBaseFolder();
    ~SoundBaseFolder();
    SoundBaseFolder(const SoundBaseFolder&) = delete;
    SoundBaseFolder& operator=(const SoundBaseFolder&) = delete;

    // The base, Windows form, with its trailing separator.
    const std::string& Path() const { return m_path; }

    // Makes the folder relative to the base (and its parents).
    void MakeFolder(const std::string& relative) const;
    // Writes these bytes to the file relative to the base, making its folder.
    void WriteFile(const std::string& relative, const std::string& bytes) const;
    // Writes a short valid 16-bit PCM wave there.
    void WriteWave(const std::string& relative) const;
    void Remove(const std::string& relative) const;

    // A theme folder with this description and a wave for every file named.
    void MakeThema(const std::string& directory, const std::string& description,
                   std::initializer_list<const char*> waves = {}) const;

private:
    std::string m_path;
};

// A description with a display name and event=file lines, CR LF ends.
std::string Description(const std::string& name, std::initializer_list<const char*> eventLines);
