#include "common/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace brightline {
namespace {

class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " +
                                     to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in`; on a sequence it cannot take, appends `replacement` and skips `skip(in)`
    // bytes.
    template <class Skip>
    std::string run(const std::string& in, const std::string& replacement, Skip skip) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        out.reserve(in.size() * 2);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char buffer[256];
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, dst);
            if (r == static_cast<size_t>(-1)) {
                if (errno == E2BIG) continue;
                // EILSEQ or EINVAL: an invalid or unconvertible (or cut) sequence.
                out += replacement;
                size_t n = skip(reinterpret_cast<const unsigned char*>(src), srcLeft);
                src += n;
                srcLeft -= n;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
        out.append(buffer, dst);
        return out;
    }

  private:
    iconv_t cd_;
};

size_t utf8Length(const unsigned char* s, size_t left) {
    size_t n = 1;
    if (s[0] >= 0xF0)
        n = 4;
    else if (s[0] >= 0xE0)
        n = 3;
    else if (s[0] >= 0xC0)
        n = 2;
    if (n > left) n = left;
    for (size_t k = 1; k < n; ++k)
        if ((s[k] & 0xC0) != 0x80) return k;
    return n;
}

}  // namespace

std::string toOem(const std::string& utf8) {
    thread_local Converter converter("GBK", "UTF-8");
    return converter.run(utf8, "?", utf8Length);
}

std::string fromOem(const std::string& oem) {
    thread_local Converter converter("UTF-8", "GBK");
    return converter.run(oem, "\xEF\xBF\xBD",
                         [](const unsigned char*, size_t) { return size_t(1); });
}

}  // namespace brightline
