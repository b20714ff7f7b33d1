#include "OrvDownloads.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <httplib.h>

#include <cerrno>
#include <memory>
#include <vector>

#include "OrvVersionTable.h"

namespace orv {

namespace {

// The one owner of an open archive; shared by the answer's content
// provider and its releaser, closed when the answer is done with it.
class OpenFile {
public:
    explicit OpenFile(int fd) : fd_(fd) {}
    ~OpenFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

void notFound(httplib::Response& res) {
    res.status = 404;
    res.set_content("not found\n", "text/plain");
}

void serve(const std::string& downloadDir, const httplib::Request& req, httplib::Response& res) {
    const std::string name = req.matches.size() > 1 ? req.matches[1].str() : std::string();
    if (!OrvVersionTable::isSafeFileName(name)) return notFound(res);
    // No links: the folder's own files only. Non-blocking, so that a FIFO
    // placed there cannot stall the worker in open().
    int fd = ::open((downloadDir + "/" + name).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return notFound(res);
    auto file = std::make_shared<OpenFile>(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return notFound(res);
    const size_t size = static_cast<size_t>(st.st_size);
    // A range that starts beyond the end cannot be answered with a part
    // (the library would announce one it cannot send).
    for (const auto& range : req.ranges) {
        const bool suffix = range.first < 0;
        if ((!suffix && static_cast<size_t>(range.first) >= size) || (suffix && (range.second <= 0 || size == 0))) {
            res.status = 416;
            res.set_header("Content-Range", "bytes */" + std::to_string(size));
            return;
        }
    }
    res.set_header("Cache-Control", "no-cache");
    res.set_content_provider(
        size, "application/octet-stream",
        [file, size](size_t offset, size_t length, httplib::DataSink& sink) {
            if (offset >= size) return false;
            std::vector<char> piece(std::min({length, OrvDownloads::kPieceBytes, size - offset}));
            ssize_t got;
            do {
                got = ::pread(file->fd(), piece.data(), piece.size(), static_cast<off_t>(offset));
            } while (got < 0 && errno == EINTR);
            // A file cut shorter while it is sent ends the connection: the
            // client sees fewer bytes than announced, never other bytes.
            if (got <= 0) return false;
            return sink.write(piece.data(), static_cast<size_t>(got));
        },
        [file](bool) {});
}

}  // namespace

void OrvDownloads::route(httplib::Server& http, const std::string& downloadDir) {
    auto handler = [downloadDir](const httplib::Request& req, httplib::Response& res) { serve(downloadDir, req, res); };
    http.Get("/download/(.*)", handler);
}

}  // namespace orv
