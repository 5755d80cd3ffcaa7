#pragma once
// The watch-list file "system.txt": GBK, one code per line, every line ended by CR LF.
// Every operation takes the file's path; rewrites are atomic (see durable_file.h). A file
// past the bounds below is never read whole nor rewritten: it stays as it is on disk.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quovella {

inline constexpr const char* watchListFileName = "system.txt";

inline constexpr std::size_t maxWatchListBytes = std::size_t{1} << 20;
inline constexpr std::size_t maxWatchCodes = 10000;

struct WatchListRead {
    enum class Status { read, missing, unreadable, tooLarge };
    Status status = Status::missing;
    std::vector<std::string> codes;  // only when read
};

// The file up to its first NUL byte cut at "\r\n": a last line without CR LF is still read,
// an empty line gives an empty code, a file with bare LF line ends is one code. A missing
// file is distinct from an empty one (read, no codes). tooLarge past maxWatchListBytes
// bytes or maxWatchCodes codes.
WatchListRead readWatchList(const std::filesystem::path& path);

// The code list of a request: the file's codes joined by ","; empty when the file is not
// read (missing, unreadable or too large).
std::string joinWatchCodes(const std::filesystem::path& path);

// Adds the code and CR LF right after the file's bytes (so a last line without CR LF gets
// the code joined to it); creates the file when it is missing. Refused, the file untouched,
// when it cannot be read or the code would take it past the bounds.
bool appendWatchCode(const std::filesystem::path& path, std::string_view code);

// Drops every line byte-equal to the code; empty lines stay. Leaves an empty file when
// nothing is left. A file that exists but cannot be read, or is too large, is left alone.
// Nothing runs between the read and the rewrite, so no other change can be overwritten.
bool removeWatchCode(const std::filesystem::path& path, std::string_view code);

}  // namespace quovella
