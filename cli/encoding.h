#pragma once

#include "core/wholefile.h"

#include <iconv.h>

#include <streambuf>
#include <string>

// A batch in another encoding than UTF-8 (a CSV file saved by Excel on a Chinese Windows
// machine is GBK), read as UTF-8 and written back in its own encoding through iconv, the C
// library's converter, as the batch streams: no more than one read's bytes are held.
namespace encoding {

// Whether iconv converts between `name` and UTF-8 both ways.
bool known(const std::string& name);

// One direction of conversion, opened for the life of the object.
class Converter {
  public:
    Converter(const std::string& to, const std::string& from);
    ~Converter();
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    iconv_t get() const { return cd_; }

  private:
    iconv_t cd_;
};

// Reads `source` in `name` and gives UTF-8. A byte that is no text of that encoding (or a
// sequence the input ends inside) comes out as the byte 0xFF, which no UTF-8 text holds: the
// cell it is in then fails as text that is not UTF-8, never reads as some other text.
class DecodingInput : public std::streambuf {
  public:
    DecodingInput(std::streambuf& source, const std::string& name);

  protected:
    int_type underflow() override;

  private:
    std::size_t decode(); // what the bytes read so far give, into decoded_

    std::streambuf& source_;
    Converter converter_;
    std::string raw_; // read and not yet decoded
    char decoded_[kReadBlock];
};

// Takes UTF-8 and writes it to `sink` in `name` as it comes, holding back only a character cut
// in two. A character that encoding has not (or a byte that is not UTF-8) is written as '?'.
class EncodingOutput : public std::streambuf {
  public:
    EncodingOutput(std::streambuf& sink, const std::string& name);
    // Writes what is held back and ends the encoding's state; false when the sink refused.
    bool finish();

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize size) override;
    int sync() override;

  private:
    bool encode();

    std::streambuf& sink_;
    Converter converter_;
    std::string pending_; // UTF-8 not yet written
    bool failed_ = false;
};

} // namespace encoding
