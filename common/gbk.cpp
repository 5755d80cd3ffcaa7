#include "common/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>

namespace quovella {
namespace {

// One converter per direction, opened once; iconv handles are not thread-safe, so each
// conversion holds the converter's lock (conversions are short).
class Converter {
  public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (handle_ != reinterpret_cast<iconv_t>(-1)) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // unitSize: bytes per code unit of the source, so an invalid unit is skipped whole.
    std::string convert(std::string_view in, std::size_t unitSize, std::string_view replacement) {
        std::string out;
        if (in.empty() || handle_ == reinterpret_cast<iconv_t>(-1)) return out;
        const std::lock_guard lock(mutex_);
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        out.resize(in.size() * 4 + 16);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char* dst = out.data();
        std::size_t dstLeft = out.size();
        while (srcLeft > 0) {
            const std::size_t rc = iconv(handle_, &src, &srcLeft, &dst, &dstLeft);
            if (rc != static_cast<std::size_t>(-1)) break;
            if (errno == E2BIG) {
                const std::size_t used = out.size() - dstLeft;
                out.resize(out.size() * 2);
                dst = out.data() + used;
                dstLeft = out.size() - used;
                continue;
            }
            // EILSEQ or EINVAL (truncated tail): write the replacement, skip one unit.
            if (dstLeft < replacement.size() + 8) {
                const std::size_t used = out.size() - dstLeft;
                out.resize(out.size() * 2 + replacement.size());
                dst = out.data() + used;
                dstLeft = out.size() - used;
            }
            for (const char c : replacement) {
                *dst++ = c;
                --dstLeft;
            }
            const std::size_t skip = std::min(unitSize, srcLeft);
            src += skip;
            srcLeft -= skip;
        }
        out.resize(out.size() - dstLeft);
        return out;
    }

  private:
    iconv_t handle_;
    std::mutex mutex_;
};

Converter& gbkToUtf8Converter() {
    static Converter c("UTF-8", "CP936");
    return c;
}
Converter& utf8ToGbkConverter() {
    static Converter c("CP936", "UTF-8");
    return c;
}
Converter& gbkToUtf16Converter() {
    static Converter c("UTF-16LE", "CP936");
    return c;
}
Converter& utf16ToGbkConverter() {
    static Converter c("CP936", "UTF-16LE");
    return c;
}

}  // namespace

std::string gbkToUtf8(std::string_view gbk) {
    return gbkToUtf8Converter().convert(gbk, 1, "?");
}

std::string utf8ToGbk(std::string_view utf8) {
    return utf8ToGbkConverter().convert(utf8, 1, "?");
}

std::u16string gbkToUtf16(std::string_view gbk) {
    const std::string bytes = gbkToUtf16Converter().convert(gbk, 1, std::string_view("?\0", 2));
    std::u16string out(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return out;
}

std::string utf16ToGbk(std::u16string_view utf16) {
    std::string bytes;
    bytes.reserve(utf16.size() * 2);
    for (const char16_t unit : utf16) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return utf16ToGbkConverter().convert(bytes, 2, "?");
}

}  // namespace quovella
