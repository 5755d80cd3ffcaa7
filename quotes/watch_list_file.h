#pragma once
// The watch-list file "system.txt": GBK, one code per line, every line ended by CR LF.
// Every operation takes the file's path; rewrites are atomic (see durable_file.h).
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quovella {

inline constexpr const char* watchListFileName = "system.txt";

// Called once per element by the long loops; the GUI passes one that processes pending
// events so other handlers can run in between.
using PerElement = std::function<void()>;

// The file's text up to its first NUL byte; nothing when it is missing or unreadable.
std::optional<std::string> readWatchListText(const std::filesystem::path& path);

// The file cut at "\r\n": a last line without CR LF is still read, an empty line gives an
// empty code, a file with bare LF line ends is one code. Nothing when the file is missing
// (distinct from an empty file, which gives an empty list).
std::optional<std::vector<std::string>> readWatchList(const std::filesystem::path& path);

// The code list of a request: the file's codes joined by "," (empty when there is no file).
std::string joinWatchCodes(const std::filesystem::path& path, const PerElement& perElement = {});

// Adds the code and CR LF right after the file's bytes (so a last line without CR LF gets
// the code joined to it); creates the file when it is missing.
bool appendWatchCode(const std::filesystem::path& path, std::string_view code);

// Drops every line byte-equal to the code; empty lines stay. Leaves an empty file when
// nothing is left. A file that exists but cannot be read is left alone.
bool removeWatchCode(const std::filesystem::path& path, std::string_view code,
                     const PerElement& perElement = {});

}  // namespace quovella
