#include "common/run_directory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>

namespace quovella {
namespace {

namespace fs = std::filesystem;

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

// Every path under a directory with its content.
std::map<fs::path, std::string> listing(const fs::path& root) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        files[entry] = contentOf(entry);
    return files;
}

struct Case {
    const char* what;
    bool installed;
    // Null: not set; "@" stands for the scratch root.
    const char* xdgDataHome;
    const char* home;
    const char* existingSystemTxt;  // already in the user's run directory, when not null
    const char* expected;           // relative to the scratch root; null: a failure
};

// The installation is "root/usr/bin" beside "root/usr/share/quovella".
TEST(RunDirectory, BesideTheProgramUnlessInstalledThenTheUsersDataDirectory) {
    const Case cases[] = {
        {"build tree or portable folder", false, "@/xdg", "@/home", nullptr, "usr/bin"},
        {"installed, XDG_DATA_HOME", true, "@/xdg", "@/home", nullptr, "xdg/quovella"},
        {"installed, no XDG_DATA_HOME", true, nullptr, "@/home", nullptr,
         "home/.local/share/quovella"},
        {"installed, relative XDG_DATA_HOME", true, "xdg", "@/home", nullptr,
         "home/.local/share/quovella"},
        {"installed, an edited watch list kept", true, "@/xdg", nullptr, "mine", "xdg/quovella"},
        {"installed, neither variable", true, "", nullptr, nullptr, nullptr},
        {"installed, data home is a file", true, "@/file", nullptr, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path root = fs::path(::testing::TempDir()) / "run_directory";
        fs::remove_all(root);
        write(root / "usr/bin/quovella", "program");
        if (c.installed) {
            write(root / "usr/share/quovella/gp.mdb", "empty store");
            write(root / "usr/share/quovella/system.txt", "codes");
        }
        write(root / "file", "");
        if (c.existingSystemTxt) write(root / "xdg/quovella/system.txt", c.existingSystemTxt);
        const auto prefixBefore = listing(root / "usr");
        const auto environment = [&](const char* name) -> std::optional<std::string> {
            const std::string_view asked = name;
            const char* value = asked == "HOME"            ? c.home
                                : asked == "XDG_DATA_HOME" ? c.xdgDataHome
                                                           : nullptr;
            if (value == nullptr) return std::nullopt;
            const std::string text = value;
            return text.starts_with('@') ? root.string() + text.substr(1) : text;
        };

        const RunDirectory run = chooseRunDirectory(root / "usr/bin", environment);
        const std::string copied = copyStartingFiles(run);

        EXPECT_EQ(listing(root / "usr"), prefixBefore);
        if (c.expected == nullptr) {
            EXPECT_FALSE(run.ok());
            continue;
        }
        ASSERT_TRUE(run.ok()) << run.failure;
        EXPECT_EQ(copied, "");
        EXPECT_EQ(fs::weakly_canonical(run.path), fs::weakly_canonical(root / c.expected));
        if (c.installed) {
            EXPECT_EQ(contentOf(run.path / "gp.mdb"), "empty store");
            EXPECT_EQ(contentOf(run.path / "system.txt"),
                      c.existingSystemTxt ? c.existingSystemTxt : "codes");
            EXPECT_EQ(listing(run.path).size(), 2u);  // no passing copy left behind
        }
    }
}

}  // namespace
}  // namespace quovella
