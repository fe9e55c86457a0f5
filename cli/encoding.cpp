#include "encoding.h"

#include "core/utf8.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace encoding {

namespace {

const iconv_t kNone = reinterpret_cast<iconv_t>(-1);
constexpr std::size_t kFailed = static_cast<std::size_t>(-1);
constexpr char kNotText = '\xFF'; // no UTF-8 text holds this byte

} // namespace

bool known(const std::string& name) {
    const std::pair<std::string, std::string> directions[] = {{name, "UTF-8"}, {"UTF-8", name}};
    for (const auto& [to, from] : directions) {
        const iconv_t cd = ::iconv_open(to.c_str(), from.c_str());
        if (cd == kNone) {
            return false;
        }
        ::iconv_close(cd);
    }
    return true;
}

Converter::Converter(const std::string& to, const std::string& from)
    : cd_(::iconv_open(to.c_str(), from.c_str())) {
    if (cd_ == kNone) {
        throw std::invalid_argument("iconv converts no " + from + " to " + to);
    }
}

Converter::~Converter() {
    ::iconv_close(cd_);
}

DecodingInput::DecodingInput(std::streambuf& source, const std::string& name)
    : source_(source), converter_("UTF-8", name) {}

std::size_t DecodingInput::decode() {
    char* in = raw_.data();
    std::size_t inLeft = raw_.size();
    char* out = decoded_;
    std::size_t outLeft = sizeof decoded_;
    while (inLeft > 0 && outLeft > 0) {
        if (::iconv(converter_.get(), &in, &inLeft, &out, &outLeft) != kFailed) {
            break;
        }
        // a byte of no character: the byte that is no text in its place. iconv can say so with
        // the output full, and the marker then waits for the next round.
        if (errno == EILSEQ && outLeft > 0) {
            *out++ = kNotText;
            --outLeft;
            ++in;
            --inLeft;
        } else { // EINVAL, a character cut by the end of what was read; E2BIG or a full output
            break;
        }
    }
    raw_.erase(0, static_cast<std::size_t>(in - raw_.data()));
    return static_cast<std::size_t>(out - decoded_);
}

DecodingInput::int_type DecodingInput::underflow() {
    for (;;) {
        if (const std::size_t size = decode(); size > 0) {
            setg(decoded_, decoded_, decoded_ + size);
            return traits_type::to_int_type(decoded_[0]);
        }
        // nothing to give from what was read: more, or the end
        if (source_.sgetc() == traits_type::eof()) {
            if (raw_.empty()) {
                return traits_type::eof();
            }
            raw_.clear(); // the input ends inside a character
            decoded_[0] = kNotText;
            setg(decoded_, decoded_, decoded_ + 1);
            return traits_type::to_int_type(kNotText);
        }
        // what the source holds already, never more: a batch fed slowly goes out row by row
        const std::streamsize ready =
            std::min<std::streamsize>(std::max<std::streamsize>(source_.in_avail(), 1), kReadBlock);
        const std::size_t before = raw_.size();
        raw_.resize(before + static_cast<std::size_t>(ready));
        raw_.resize(before + static_cast<std::size_t>(source_.sgetn(raw_.data() + before, ready)));
    }
}

EncodingOutput::EncodingOutput(std::streambuf& sink, const std::string& name)
    : sink_(sink), converter_(name, "UTF-8") {}

bool EncodingOutput::encode() {
    char encoded[kReadBlock];
    while (!pending_.empty() && !failed_) {
        char* in = pending_.data();
        std::size_t inLeft = pending_.size();
        char* out = encoded;
        std::size_t outLeft = sizeof encoded;
        const bool done = ::iconv(converter_.get(), &in, &inLeft, &out, &outLeft) != kFailed;
        const int error = errno;
        const auto size = static_cast<std::streamsize>(out - encoded);
        failed_ = sink_.sputn(encoded, size) != size;
        pending_.erase(0, static_cast<std::size_t>(in - pending_.data()));
        if (done || error == EINVAL) { // all of it, or all but a character cut in two
            break;
        }
        if (error == EILSEQ) { // a character the encoding has not, or a byte of no character
            pending_.erase(0, std::max<std::size_t>(utf8::sequenceLength(pending_), 1));
            failed_ = failed_ || sink_.sputc('?') == traits_type::eof();
        }
        // E2BIG: the rest in the next round
    }
    return !failed_;
}

EncodingOutput::int_type EncodingOutput::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    const char byte = traits_type::to_char_type(c);
    return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
}

std::streamsize EncodingOutput::xsputn(const char* text, std::streamsize size) {
    pending_.append(text, static_cast<std::size_t>(size));
    return encode() ? size : 0;
}

int EncodingOutput::sync() {
    return encode() && sink_.pubsync() == 0 ? 0 : -1;
}

bool EncodingOutput::finish() {
    if (!pending_.empty()) { // a character cut short by the end
        pending_.clear();
        failed_ = failed_ || sink_.sputc('?') == traits_type::eof();
    }
    char encoded[64];
    char* out = encoded;
    std::size_t outLeft = sizeof encoded;
    ::iconv(converter_.get(), nullptr, nullptr, &out, &outLeft); // back to the initial state
    const auto size = static_cast<std::streamsize>(out - encoded);
    failed_ = failed_ || sink_.sputn(encoded, size) != size;
    return !failed_;
}

} // namespace encoding
