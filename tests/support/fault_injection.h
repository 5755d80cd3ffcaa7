#pragma once
// Writes that fail on demand under the real program. Linked into a test executable, the
// definitions in fault_injection.cpp take the place of the C library's write, pwrite,
// writev, fsync, fdatasync, ftruncate and rename for every library of the process (SQLite's
// file layer included), and pass each call on unchanged unless a fault is armed for its file.
#include <string>
#include <vector>

namespace quovella::testing {

enum class DiskFault {
    none,
    noSpace,       // every write fails with ENOSPC
    ioError,       // every write, sync and truncate fails with EIO
    shortWrite,    // every write writes half of what it is given, a single byte not at all
    failedSync,    // every fsync and fdatasync fails with EIO
    failedRename,  // a rename onto the file fails with EACCES, as in a read-only folder
};

// Arms the fault for the files named one of names, or a name followed by '.' and more (a
// temporary written beside it); replaces what was armed before.
void injectDiskFault(DiskFault fault, std::vector<std::string> names);
void clearDiskFault();
// The calls the armed fault changed since it was armed.
int injectedFailures();

}  // namespace quovella::testing
