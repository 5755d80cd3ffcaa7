#include "common/run_directory.h"

#include <system_error>

namespace quovella {

namespace fs = std::filesystem;

namespace {

// XDG: a relative or empty value is to be ignored.
std::optional<fs::path> absoluteVariable(const EnvironmentLookup& environment, const char* name) {
    const std::optional<std::string> value = environment(name);
    if (!value || value->empty() || !fs::path(*value).is_absolute()) return std::nullopt;
    return fs::path(*value);
}

RunDirectory failed(std::string why) {
    return {{}, {}, std::move(why)};
}

}  // namespace

fs::path packageDataDirectory(const fs::path& exeDirectory) {
    return exeDirectory / ".." / "share" / "quovella";
}

RunDirectory chooseRunDirectory(const fs::path& exeDirectory,
                                const EnvironmentLookup& environment) {
    const fs::path package = packageDataDirectory(exeDirectory);
    std::error_code error;
    if (!fs::is_directory(package, error)) return {exeDirectory, {}, {}};

    fs::path dataHome;
    if (const auto xdg = absoluteVariable(environment, "XDG_DATA_HOME")) {
        dataHome = *xdg;
    } else if (const auto home = absoluteVariable(environment, "HOME")) {
        dataHome = *home / ".local" / "share";
    } else {
        return failed("neither XDG_DATA_HOME nor HOME names an absolute directory");
    }
    const fs::path run = dataHome / "quovella";
    fs::create_directories(run, error);
    if (error || !fs::is_directory(run, error)) {
        return failed("cannot create " + run.string() + ": " +
                      (error ? error.message() : std::string("not a directory")));
    }
    return {run, package, {}};
}

std::string copyStartingFiles(const RunDirectory& run) {
    if (run.startingFiles.empty()) return {};
    std::error_code error;
    for (fs::directory_iterator it(run.startingFiles, error), end; !error && it != end;
         it.increment(error)) {
        if (!it->is_regular_file(error)) continue;
        const fs::path target = run.path / it->path().filename();
        std::error_code absent;
        if (fs::exists(fs::symlink_status(target, absent))) continue;
        // Copied under a passing name and renamed whole: a start cut short leaves no half
        // store that the next start would keep.
        fs::path partial = target;
        partial += ".partial";
        if (!fs::copy_file(it->path(), partial, fs::copy_options::overwrite_existing, error)) {
            break;
        }
        fs::rename(partial, target, error);
        if (error) break;
    }
    if (error)
        return "cannot copy the starting files into " + run.path.string() + ": " + error.message();
    return {};
}

}  // namespace quovella
