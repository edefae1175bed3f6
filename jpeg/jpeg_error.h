// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The encoder's failures: an error number and a fixed description, thrown as one exception type.
#include <stdexcept>
#include <string>

namespace jpeg {

class JpegError : public std::runtime_error {
public:
    JpegError(int number, const std::string& description) : std::runtime_error(description), number_(number) {}
    int number() const { return number_; }
    std::string description() const { return what(); }

private:
    int number_;
};

// Error numbers: 1 for the encoder's own checks, 75 for a file that cannot be written.
constexpr int kEncoderErrorNumber = 1;
constexpr int kFileErrorNumber = 75;

inline const char* const kInvalidSampling = "Invalid Sampling Value";
inline const char* const kIllegalCommentLength = "Illegal Comment Length";
inline const char* const kBadQuantizationTable = "Bad Quantization Table";
inline const char* const kIllegalQuantPrecision = "Illegal precission in Quantization Table";
inline const char* const kBadHuffmanTable = "Bad Huffman Table";

[[noreturn]] inline void raise(const char* description) { throw JpegError(kEncoderErrorNumber, description); }

} // namespace jpeg
