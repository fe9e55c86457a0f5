#include "cli/encoding.h"

#include <algorithm>
#include <cstdint>
#include <istream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

// The encodings a batch is read in: the Chinese ones, and some whose characters are wider or
// whose state carries from byte to byte.
constexpr const char* kEncodings[] = {"GBK",      "GB18030",     "BIG5",       "UTF-16LE",
                                      "UTF-16BE", "UTF-16",      "UTF-32",     "SHIFT_JIS",
                                      "EUC-KR",   "ISO-2022-JP", "ISO-8859-1", "UTF-8"};

// Hands `text` on `chunk` bytes at a time, each chunk all that is ready: the decoder's reads
// end where the chunks do.
class Chunked : public std::streambuf {
  public:
    Chunked(std::string_view text, std::size_t chunk) : text_(text), chunk_(chunk) {}

  protected:
    int_type underflow() override {
        if (at_ >= text_.size()) {
            return traits_type::eof();
        }
        char* start = const_cast<char*>(text_.data()) + at_;
        const std::size_t size = std::min(chunk_, text_.size() - at_);
        setg(start, start, start + size);
        at_ += size;
        return traits_type::to_int_type(*start);
    }

  private:
    std::string_view text_;
    std::size_t chunk_;
    std::size_t at_ = 0;
};

std::string decoded(const char* name, std::string_view text, std::size_t chunk) {
    Chunked source(text, chunk);
    encoding::DecodingInput decoding(source, name);
    std::istream in(&decoding);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

// Random bytes read in one of several encodings, the reads ending anywhere: the decoder stays in
// its buffers (the sanitizers see to that) and gives the same text however the input is cut. The
// first byte chooses the encoding, the next two the size of a read; a set high bit of the first
// repeats the bytes past a whole block, so that the decoded block fills up.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const char* name = kEncodings[(data[0] & 0x7F) % std::size(kEncodings)];
    std::size_t chunk = 1 + (static_cast<std::size_t>(data[1]) << 8 | data[2]);
    std::string text(reinterpret_cast<const char*>(data) + 3, size - 3);
    if ((data[0] & 0x80) && !text.empty()) {
        const std::string once = text;
        while (text.size() < kReadBlock + 2 * once.size()) {
            text += once;
        }
        chunk |= 0x400; // reads of a byte or two over a whole block would take too long a run
    }
    if (decoded(name, text, chunk) != decoded(name, text, kReadBlock)) {
        __builtin_trap();
    }
    return 0;
}
