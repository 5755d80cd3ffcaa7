#include "ui/qt_text.h"

#include <algorithm>

#include "common/gbk.h"

namespace quovella {

QString toQt(std::string_view gbk) {
    const std::u16string utf16 = gbkToUtf16(gbk);
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

QString toQtShown(std::string_view gbk) {
    constexpr std::size_t kShownBytes = 4096;
    if (gbk.size() <= kShownBytes) return toQt(gbk);
    std::size_t end = 0;
    // Cut between characters, never inside a double-byte one.
    while (end < kShownBytes) {
        const bool lead = isGbkLeadByte(static_cast<unsigned char>(gbk[end]));
        end += lead ? 2u : 1u;
    }
    return toQt(gbk.substr(0, std::min(end, gbk.size())));
}

std::string fromQt(const QString& text) {
    return utf16ToGbk(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                          static_cast<std::size_t>(text.size())));
}

}  // namespace quovella
