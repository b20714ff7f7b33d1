#include "ReaderTestSupport.h"

#include <windows.h>

namespace skintest {

std::unique_ptr<OrvSkinReader> ApplyIni(const SkinRoot& root, const std::string& folder, const std::string& body) {
    root.WriteIni(folder, "[Main]\nSkinName = " + folder + "\nBaseSkin = 1\n" + body);
    auto reader = std::make_unique<OrvSkinReader>(root.Path().c_str(), nullptr);
    reader->SetSkinByDirectory((folder + "\\").c_str());
    return reader;
}

std::string Problems(const OrvSkinReader& reader) {
    std::string text;
    for (int i = 0; i < reader.GetProblemCount(); ++i) {
        const SkinReadProblem_t* problem = reader.GetProblem(i);
        text += "[" + std::string(problem->Section) + "] " + std::string(problem->Key) + ": " +
                std::string(problem->Reason) + " (" + std::string(problem->File) + ")\n";
    }
    return text;
}

bool HasProblem(const OrvSkinReader& reader, const std::string& section, const std::string& key) {
    for (int i = 0; i < reader.GetProblemCount(); ++i) {
        const SkinReadProblem_t* problem = reader.GetProblem(i);
        if ((section.empty() || section == problem->Section.GetString()) &&
            (key.empty() || key == problem->Key.GetString()))
            return true;
    }
    return false;
}

int GdiObjectCount() {
    if (const DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(counted);
    // Wine does not count; it accepts a handle's bare table index, so every
    // live object answers its type at its index.
    int live = 0;
    for (UINT_PTR index = 1; index < 0x10000; ++index)
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++live;
    return live;
}

std::string ProgramFolder() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

}  // namespace skintest
