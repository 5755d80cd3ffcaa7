#include "quotes/watch_list_file.h"

#include <optional>
#include <utility>

#include "common/durable_file.h"
#include "common/text_rules.h"

namespace quovella {
namespace {

constexpr std::string_view lineEnd = "\r\n";

// The codes of the file's bytes; nothing when there are more than maxWatchCodes, found
// without storing the extra ones.
std::optional<std::vector<std::string>> codesWithinBound(const std::string& bytes) {
    const std::string text = upToFirstNul(bytes);
    std::vector<std::string> codes;
    TextParts lines(text, lineEnd);
    while (const std::optional<std::string_view> line = lines.next()) {
        if (codes.size() == maxWatchCodes) return std::nullopt;
        codes.emplace_back(*line);
    }
    return codes;
}

WatchListRead::Status statusOf(FileRead::Status status) {
    switch (status) {
        case FileRead::Status::read:
            return WatchListRead::Status::read;
        case FileRead::Status::missing:
            return WatchListRead::Status::missing;
        case FileRead::Status::tooLarge:
            return WatchListRead::Status::tooLarge;
        case FileRead::Status::unreadable:
            break;
    }
    return WatchListRead::Status::unreadable;
}

}  // namespace

WatchListRead readWatchList(const std::filesystem::path& path) {
    const FileRead file = readWholeFile(path, maxWatchListBytes);
    if (file.status != FileRead::Status::read) return {statusOf(file.status), {}};
    std::optional<std::vector<std::string>> codes = codesWithinBound(file.bytes);
    if (!codes) return {WatchListRead::Status::tooLarge, {}};
    return {WatchListRead::Status::read, std::move(*codes)};
}

std::string joinWatchCodes(const std::filesystem::path& path) {
    const WatchListRead list = readWatchList(path);
    std::string joined;
    for (std::size_t i = 0; i < list.codes.size(); ++i) {
        if (i > 0) joined += ',';
        joined += list.codes[i];
    }
    return joined;
}

bool appendWatchCode(const std::filesystem::path& path, std::string_view code) {
    FileRead file = readWholeFile(path, maxWatchListBytes);
    const bool readable =
        file.status == FileRead::Status::read || file.status == FileRead::Status::missing;
    if (!readable) return false;
    std::string content = std::move(file.bytes);
    content.append(code);
    content.append(lineEnd);
    if (content.size() > maxWatchListBytes || !codesWithinBound(content)) return false;
    return replaceFileContent(path, content);
}

bool removeWatchCode(const std::filesystem::path& path, std::string_view code) {
    const WatchListRead list = readWatchList(path);
    const bool readable =
        list.status == WatchListRead::Status::read || list.status == WatchListRead::Status::missing;
    if (!readable) return false;
    std::string content;
    for (const std::string& line : list.codes) {
        if (line != code) {
            content += line;
            content.append(lineEnd);
        }
    }
    return replaceFileContent(path, content);
}

}  // namespace quovella
