#include "ui/qt_text.h"

#include "common/gbk.h"

namespace quovella {

QString toQt(std::string_view gbk) {
    const std::u16string utf16 = gbkToUtf16(gbk);
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

std::string fromQt(const QString& text) {
    return utf16ToGbk(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                          static_cast<std::size_t>(text.size())));
}

}  // namespace quovella
