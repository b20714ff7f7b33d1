#include "CabinetArchive.h"

#include "WinHandles.h"

#include <mspack.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

static_assert(sizeof(off_t) == 8, "mspack.h must be compiled with _FILE_OFFSET_BITS=64, as libmspack is");

// libmspack calls back through a table of functions; most get only the file,
// so each open file carries the archive it belongs to.
struct CabinetArchive::System {
    mspack_system table;  // first: libmspack passes &table as the system
    CabinetArchive::BlockWritten blockWritten;
    CabinetArchive::Warning warning;
};

namespace {

struct OpenFile {
    UniqueHandle handle;
    CabinetArchive::System* system = nullptr;
};

OpenFile* AsOpenFile(mspack_file* file) { return reinterpret_cast<OpenFile*>(file); }
CabinetArchive::System* AsSystem(mspack_system* table) { return reinterpret_cast<CabinetArchive::System*>(table); }

mspack_file* FileOpen(mspack_system* self, const char* name, int mode) {
    DWORD access = 0, disposition = 0, share = 0;
    switch (mode) {
    case MSPACK_SYS_OPEN_READ:
        access = GENERIC_READ;
        share = FILE_SHARE_READ;
        disposition = OPEN_EXISTING;
        break;
    case MSPACK_SYS_OPEN_WRITE:
        access = GENERIC_WRITE;
        disposition = CREATE_ALWAYS;
        break;
    default:
        // Updating and appending are for other archive kinds.
        return nullptr;
    }
    UniqueHandle handle(::CreateFileA(name, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) return nullptr;
    auto* file = new (std::nothrow) OpenFile;
    if (!file) return nullptr;
    file->handle = std::move(handle);
    file->system = AsSystem(self);
    return reinterpret_cast<mspack_file*>(file);
}

void FileClose(mspack_file* file) { delete AsOpenFile(file); }

int FileRead(mspack_file* file, void* buffer, int bytes) {
    if (bytes < 0) return -1;
    DWORD read = 0;
    if (!::ReadFile(AsOpenFile(file)->handle.Get(), buffer, static_cast<DWORD>(bytes), &read, nullptr)) return -1;
    return static_cast<int>(read);
}

int FileWrite(mspack_file* file, void* buffer, int bytes) {
    OpenFile* open = AsOpenFile(file);
    if (bytes < 0) return -1;
    DWORD written = 0;
    if (!::WriteFile(open->handle.Get(), buffer, static_cast<DWORD>(bytes), &written, nullptr)) return -1;
    // A refusal here ends the extraction of the file with a write error.
    if (open->system->blockWritten && !open->system->blockWritten(written)) return -1;
    return static_cast<int>(written);
}

int FileSeek(mspack_file* file, off_t offset, int mode) {
    DWORD method = FILE_BEGIN;
    if (mode == MSPACK_SYS_SEEK_CUR) method = FILE_CURRENT;
    else if (mode == MSPACK_SYS_SEEK_END) method = FILE_END;
    else if (mode != MSPACK_SYS_SEEK_START) return -1;
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    return ::SetFilePointerEx(AsOpenFile(file)->handle.Get(), distance, nullptr, method) ? 0 : -1;
}

off_t FileTell(mspack_file* file) {
    LARGE_INTEGER zero, position;
    zero.QuadPart = 0;
    if (!::SetFilePointerEx(AsOpenFile(file)->handle.Get(), zero, &position, FILE_CURRENT)) return -1;
    return static_cast<off_t>(position.QuadPart);
}

void FileMessage(mspack_file* file, const char* format, ...) {
    // Messages without a file cannot be traced to an archive; the warnings
    // that matter (a truncated cabinet, bad blocks) come with one.
    if (!file) return;
    CabinetArchive::System* system = AsOpenFile(file)->system;
    if (!system->warning) return;
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    system->warning(text);
}

void* FileAlloc(mspack_system*, size_t bytes) { return std::malloc(bytes); }
void FileFree(void* pointer) { std::free(pointer); }
void FileCopy(void* source, void* destination, size_t bytes) { std::memcpy(destination, source, bytes); }

}  // namespace

CabinetArchive::CabinetArchive(BlockWritten blockWritten, Warning warning) : m_system(new System) {
    m_system->table = mspack_system{FileOpen, FileClose, FileRead, FileWrite, FileSeek, FileTell, FileMessage, FileAlloc, FileFree, FileCopy, nullptr};
    m_system->blockWritten = std::move(blockWritten);
    m_system->warning = std::move(warning);
    int selftest = MSPACK_ERR_OK;
    MSPACK_SYS_SELFTEST(selftest);
    if (selftest == MSPACK_ERR_OK) m_decompressor = mspack_create_cab_decompressor(&m_system->table);
}

CabinetArchive::~CabinetArchive() {
    if (m_decompressor) {
        if (m_cabinet) m_decompressor->close(m_decompressor, m_cabinet);
        mspack_destroy_cab_decompressor(m_decompressor);
    }
}

bool CabinetArchive::Open(const std::string& path) {
    if (!m_decompressor || m_cabinet) return false;
    m_cabinet = m_decompressor->open(m_decompressor, path.c_str());
    if (!m_cabinet) {
        m_lastError = m_decompressor->last_error(m_decompressor);
        return false;
    }
    for (const mscabd_file* file = m_cabinet->files; file; file = file->next) {
        Entry entry;
        entry.name = file->filename ? file->filename : "";
        entry.utf8 = (file->attribs & MSCAB_ATTRIB_UTF_NAME) != 0;
        entry.length = file->length;
        entry.file = file;
        m_entries.push_back(std::move(entry));
    }
    return true;
}

uint64_t CabinetArchive::TotalSize() const {
    uint64_t total = 0;
    for (const Entry& entry : m_entries) total += entry.length;
    return total;
}

bool CabinetArchive::Extract(const Entry& entry, const std::string& outputPath) {
    if (!m_cabinet || !entry.file) return false;
    m_lastError = m_decompressor->extract(m_decompressor, const_cast<mscabd_file*>(entry.file), outputPath.c_str());
    return m_lastError == MSPACK_ERR_OK;
}
