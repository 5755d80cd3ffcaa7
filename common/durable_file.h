#pragma once
// Reading a small file whole, and replacing a file's content so that a crash or a failed
// write at any moment leaves either the old content or the new one, never a mix or nothing.
#include <cstddef>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>

namespace quovella {

struct FileRead {
    enum class Status { read, missing, unreadable, tooLarge };
    Status status = Status::missing;
    std::string bytes;  // only when read
};

inline constexpr std::size_t noByteLimit = std::numeric_limits<std::size_t>::max();

// All bytes of the file; missing when there is no file, tooLarge when it holds more than
// maxBytes (found by reading at most maxBytes + 1 of them), unreadable on any other failure,
// a pipe included. Never waits for a writer.
FileRead readWholeFile(const std::filesystem::path& path, std::size_t maxBytes = noByteLimit);

// Writes the bytes to a temporary file in the same directory, syncs it, renames it over
// path and syncs the directory. False exactly when the old file is left as it was: every
// failure before the rename (a full disk, an I/O error, a failed sync, a folder we may not
// write) removes the temporary. A new file gets the usual permissions, a replaced one keeps
// its own.
bool replaceFileContent(const std::filesystem::path& path, std::string_view bytes);

}  // namespace quovella
