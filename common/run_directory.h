#pragma once
// Where the program keeps "system.txt" and "gp.mdb": beside itself, unless it runs from an
// installation, whose prefix it never writes; then in the user's data directory.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace quovella {

// The package's data directory, relative to the executable's: "<exe dir>/../share/quovella".
// Its presence is what marks an installation, wherever the package was unpacked.
std::filesystem::path packageDataDirectory(const std::filesystem::path& exeDirectory);

struct RunDirectory {
    std::filesystem::path path;
    // The package's data directory whose files a new run directory starts with; empty when
    // the program runs beside its files.
    std::filesystem::path startingFiles;
    // Why there is no run directory; empty when there is one.
    std::string failure;

    bool ok() const { return failure.empty(); }
};

// A variable of the environment, or nothing when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The executable's directory, or for an installation "$XDG_DATA_HOME/quovella" (by default
// "$HOME/.local/share/quovella"), which is created when missing.
RunDirectory chooseRunDirectory(const std::filesystem::path& exeDirectory,
                                const EnvironmentLookup& environment);

// Copies each file of `startingFiles` the run directory lacks; never overwrites one. Returns
// why it failed, or an empty text.
std::string copyStartingFiles(const RunDirectory& run);

}  // namespace quovella
