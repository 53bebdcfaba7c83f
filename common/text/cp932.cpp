#include "common/text/cp932.h"

#include <cerrno>
#include <iconv.h>

namespace tavo {
namespace {

// One iconv descriptor per direction, opened once and reset before each use. glibc names the
// Windows code page "CP932"; unlike its "SHIFT_JIS" it keeps 0x5C as the backslash that the
// game's paths use.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != invalid()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    Result<std::string, ConversionError> convert(std::string_view input) {
        if (cd_ == invalid()) {
            return ConversionError{0};
        }
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);

        std::string output;
        // Each CP932 byte becomes at most three UTF-8 bytes, and each UTF-8 sequence at least as
        // long as its CP932 form; the loop grows the buffer anyway if that ever falls short.
        output.resize(input.size() * 3 + 4);
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        std::size_t written = 0;
        while (inLeft > 0) {
            char* out = output.data() + written;
            std::size_t outLeft = output.size() - written;
            std::size_t result = iconv(cd_, &in, &inLeft, &out, &outLeft);
            written = output.size() - outLeft;
            if (result != static_cast<std::size_t>(-1)) {
                break;
            }
            if (errno == E2BIG) {
                output.resize(output.size() * 2);
                continue;
            }
            // EILSEQ: a sequence that does not convert; EINVAL: the input ends inside one.
            return ConversionError{static_cast<std::size_t>(in - input.data())};
        }
        // Flush any shift state (none for these encodings, but iconv asks for it).
        char* out = output.data() + written;
        std::size_t outLeft = output.size() - written;
        if (iconv(cd_, nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1)) {
            return ConversionError{input.size()};
        }
        output.resize(output.size() - outLeft);
        return output;
    }

private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }

    iconv_t cd_;
};

} // namespace

Result<std::string, ConversionError> cp932ToUtf8(std::string_view bytes) {
    thread_local Converter converter("UTF-8", "CP932");
    return converter.convert(bytes);
}

Result<std::string, ConversionError> utf8ToCp932(std::string_view utf8) {
    thread_local Converter converter("CP932", "UTF-8");
    return converter.convert(utf8);
}

} // namespace tavo
