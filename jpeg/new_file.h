// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes a file that must not replace an existing one: the bytes go to a temporary file in the
// same folder, which is then hard-linked into place (link never replaces). Where the file system
// cannot link, the target is created exclusively instead. No partial file is left behind.
#include <cstdint>
#include <string>
#include <vector>

namespace jpeg {

enum class NewFileResult { Written, AlreadyExists };

// Throws JpegError (number 75) when the file cannot be written.
NewFileResult writeNewFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace jpeg
