#include "support/fault_injection.h"

#include <dlfcn.h>
#include <sys/uio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <mutex>
#include <string_view>

namespace quovella::testing {
namespace {

std::atomic<DiskFault> armedFault{DiskFault::none};
std::atomic<int> changedCalls{0};
std::mutex namesLock;
std::vector<std::string> armedNames;

bool armedFor(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::lock_guard<std::mutex> lock(namesLock);
    for (const std::string& armed : armedNames) {
        if (name.substr(0, armed.size()) != armed) continue;
        if (name.size() == armed.size() || name[armed.size()] == '.') return true;
    }
    return false;
}

bool armedForDescriptor(int fd) {
    char link[32] = "/proc/self/fd/";
    *std::to_chars(link + 14, link + sizeof link - 1, fd).ptr = '\0';
    char path[4096];
    const ssize_t length = ::readlink(link, path, sizeof path);
    return length > 0 && armedFor(std::string_view(path, static_cast<std::size_t>(length)));
}

// The armed fault when it is one of these and the descriptor's file is armed; else none.
template <typename... Faults>
DiskFault faultOn(int fd, Faults... faults) {
    const DiskFault fault = armedFault.load();
    if (((fault != faults) && ...) || !armedForDescriptor(fd)) return DiskFault::none;
    ++changedCalls;
    return fault;
}

int fail(int error) {
    errno = error;
    return -1;
}

template <typename Function>
Function* next(const char* name) {
    return reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));
}

// A write's fate: -1 with errno, or the count the real call may write.
ssize_t allowedBytes(int fd, std::size_t count) {
    switch (faultOn(fd, DiskFault::noSpace, DiskFault::ioError, DiskFault::shortWrite)) {
        case DiskFault::noSpace:
            return fail(ENOSPC);
        case DiskFault::ioError:
            return fail(EIO);
        case DiskFault::shortWrite:
            return static_cast<ssize_t>(count / 2);
        default:
            return static_cast<ssize_t>(count);
    }
}

int truncateFault(int fd) {
    return faultOn(fd, DiskFault::ioError) == DiskFault::none ? 0 : fail(EIO);
}

int syncFault(int fd) {
    return faultOn(fd, DiskFault::ioError, DiskFault::failedSync) == DiskFault::none ? 0
                                                                                     : fail(EIO);
}

int renameFault(const char* to) {
    if (armedFault.load() != DiskFault::failedRename || !armedFor(to)) return 0;
    ++changedCalls;
    return fail(EACCES);
}

}  // namespace

void injectDiskFault(DiskFault fault, std::vector<std::string> names) {
    {
        const std::lock_guard<std::mutex> lock(namesLock);
        armedNames = std::move(names);
    }
    changedCalls = 0;
    armedFault = fault;
}

void clearDiskFault() {
    armedFault = DiskFault::none;
}

int injectedFailures() {
    return changedCalls.load();
}

}  // namespace quovella::testing

using quovella::testing::allowedBytes;
using quovella::testing::next;
using quovella::testing::renameFault;
using quovella::testing::syncFault;
using quovella::testing::truncateFault;

extern "C" {

ssize_t write(int fd, const void* bytes, size_t count) {
    static auto* const real = next<ssize_t(int, const void*, size_t)>("write");
    const ssize_t allowed = allowedBytes(fd, count);
    if (allowed <= 0) return allowed;
    return real(fd, bytes, static_cast<size_t>(allowed));
}

ssize_t pwrite(int fd, const void* bytes, size_t count, off_t offset) {
    static auto* const real = next<ssize_t(int, const void*, size_t, off_t)>("pwrite");
    const ssize_t allowed = allowedBytes(fd, count);
    if (allowed <= 0) return allowed;
    return real(fd, bytes, static_cast<size_t>(allowed), offset);
}

ssize_t pwrite64(int fd, const void* bytes, size_t count, off64_t offset) {
    static auto* const real = next<ssize_t(int, const void*, size_t, off64_t)>("pwrite64");
    const ssize_t allowed = allowedBytes(fd, count);
    if (allowed <= 0) return allowed;
    return real(fd, bytes, static_cast<size_t>(allowed), offset);
}

// A short write gives half of the first buffer.
ssize_t writev(int fd, const struct iovec* buffers, int count) {
    static auto* const real = next<ssize_t(int, const struct iovec*, int)>("writev");
    const size_t first = count > 0 ? buffers[0].iov_len : 0;
    const ssize_t allowed = allowedBytes(fd, first);
    if (allowed < 0 || (allowed == 0 && first > 0)) return allowed;
    if (static_cast<size_t>(allowed) == first) return real(fd, buffers, count);
    const struct iovec half = {buffers[0].iov_base, static_cast<size_t>(allowed)};
    return real(fd, &half, 1);
}

int fsync(int fd) {
    static auto* const real = next<int(int)>("fsync");
    return syncFault(fd) != 0 ? -1 : real(fd);
}

int fdatasync(int fd) {
    static auto* const real = next<int(int)>("fdatasync");
    return syncFault(fd) != 0 ? -1 : real(fd);
}

int ftruncate(int fd, off_t length) noexcept {
    static auto* const real = next<int(int, off_t)>("ftruncate");
    return truncateFault(fd) != 0 ? -1 : real(fd, length);
}

int ftruncate64(int fd, off64_t length) noexcept {
    static auto* const real = next<int(int, off64_t)>("ftruncate64");
    return truncateFault(fd) != 0 ? -1 : real(fd, length);
}

int rename(const char* from, const char* to) noexcept {
    static auto* const real = next<int(const char*, const char*)>("rename");
    return renameFault(to) != 0 ? -1 : real(from, to);
}

}  // extern "C"
