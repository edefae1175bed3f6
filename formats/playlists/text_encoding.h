// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text of a cue sheet or playlist as UTF-8. Such files are written in UTF-8 (with or without
// a byte-order mark), in UTF-16 with its byte-order mark, or, by older programs, in the Western
// code page; a file that is none of the others is read as that code page (Latin-1 with the
// printable characters Windows puts at 0x80 to 0x9F), so every byte gives a character.
#include <string>
#include <string_view>
#include <vector>

namespace kavi {

// Whether the bytes are valid UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool isValidUtf8(std::string_view bytes);

// The text as UTF-8, without a leading byte-order mark. `wasLegacy`, when given, tells whether
// the bytes were read as the Western code page.
std::string textAsUtf8(std::string_view bytes, bool* wasLegacy = nullptr);

// The lines of a text, split at "\n", "\r\n" or a lone "\r".
std::vector<std::string> linesOf(const std::string& text);

} // namespace kavi
