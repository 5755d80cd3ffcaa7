#include "quotes/watch_list_file.h"

#include "common/text_rules.h"
#include "quotes/durable_file.h"

namespace quovella {
namespace {

constexpr std::string_view lineEnd = "\r\n";

std::string upToFirstNul(std::string bytes) {
    const std::size_t nul = bytes.find('\0');
    if (nul != std::string::npos) bytes.resize(nul);
    return bytes;
}

void notify(const PerElement& perElement) {
    if (perElement) perElement();
}

}  // namespace

std::optional<std::string> readWatchListText(const std::filesystem::path& path) {
    FileRead file = readWholeFile(path);
    if (file.status != FileRead::Status::read) return std::nullopt;
    return upToFirstNul(std::move(file.bytes));
}

std::optional<std::vector<std::string>> readWatchList(const std::filesystem::path& path) {
    const std::optional<std::string> text = readWatchListText(path);
    if (!text) return std::nullopt;
    return splitText(*text, lineEnd);
}

std::string joinWatchCodes(const std::filesystem::path& path, const PerElement& perElement) {
    const std::vector<std::string> codes = readWatchList(path).value_or(std::vector<std::string>{});
    std::string joined;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (i > 0) joined += ',';
        joined += codes[i];
        notify(perElement);
    }
    return joined;
}

bool appendWatchCode(const std::filesystem::path& path, std::string_view code) {
    FileRead file = readWholeFile(path);
    if (file.status == FileRead::Status::unreadable) return false;
    std::string content = std::move(file.bytes);
    content.append(code);
    content.append(lineEnd);
    return replaceFileContent(path, content);
}

bool removeWatchCode(const std::filesystem::path& path, std::string_view code,
                     const PerElement& perElement) {
    const FileRead file = readWholeFile(path);
    if (file.status == FileRead::Status::unreadable) return false;
    std::string content;
    for (const std::string& line : splitText(upToFirstNul(file.bytes), lineEnd)) {
        if (line != code) {
            content += line;
            content.append(lineEnd);
        }
        notify(perElement);
    }
    return replaceFileContent(path, content);
}

}  // namespace quovella
