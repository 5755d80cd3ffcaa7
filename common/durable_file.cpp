#include "common/durable_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace quovella {
namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { close(); }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // A failed close can be the first report of a failed write.
    bool close() {
        if (fd_ < 0) return true;
        const bool ok = ::close(fd_) == 0;
        fd_ = -1;
        return ok;
    }

  private:
    int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

mode_t newFileMode(const std::filesystem::path& path) {
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) return old.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool syncDirectory(const std::filesystem::path& directory) {
    const FileDescriptor fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.valid() && ::fsync(fd.get()) == 0;
}

bool writeTemporary(int fd, std::string_view bytes, mode_t mode) {
    return ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
}

std::filesystem::path directoryOf(const std::filesystem::path& path) {
    const std::filesystem::path parent = path.parent_path();
    return parent.empty() ? std::filesystem::path(".") : parent;
}

}  // namespace

FileRead readWholeFile(const std::filesystem::path& path, std::size_t maxBytes) {
    // Without O_NONBLOCK a pipe in the file's place would block the open until some writer
    // came; with it, a device that has nothing to give fails the read instead of waiting.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        return {errno == ENOENT ? FileRead::Status::missing : FileRead::Status::unreadable, {}};
    }
    // A pipe has no whole content to read, only what some writer sends.
    struct stat kind {};
    if (::fstat(fd.get(), &kind) != 0 || S_ISFIFO(kind.st_mode)) {
        return {FileRead::Status::unreadable, {}};
    }
    FileRead result{FileRead::Status::read, {}};
    std::vector<char> buffer(64 * 1024);
    // One byte past the limit tells a file at the limit from a larger one without reading
    // the larger one whole.
    while (result.bytes.size() <= maxBytes) {
        const std::size_t room = maxBytes - result.bytes.size();
        const std::size_t wanted = room < buffer.size() ? room + 1 : buffer.size();
        const ssize_t n = ::read(fd.get(), buffer.data(), wanted);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return {FileRead::Status::unreadable, {}};
        if (n == 0) return result;
        result.bytes.append(buffer.data(), static_cast<std::size_t>(n));
    }
    return {FileRead::Status::tooLarge, {}};
}

bool replaceFileContent(const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path directory = directoryOf(path);
    std::string name = (directory / (path.filename().string() + ".tmp-XXXXXX")).string();
    FileDescriptor fd(::mkostemp(name.data(), O_CLOEXEC));
    if (!fd.valid()) return false;
    const bool written = writeTemporary(fd.get(), bytes, newFileMode(path));
    if (!fd.close() || !written || ::rename(name.c_str(), path.c_str()) != 0) {
        ::unlink(name.c_str());
        return false;
    }
    // The new content is in place: a failed directory sync only weakens the rename's
    // durability, and a false would tell the caller that the old content is still there.
    syncDirectory(directory);
    return true;
}

}  // namespace quovella
