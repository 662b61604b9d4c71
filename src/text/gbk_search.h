#pragma once
// Searching GBK/GB18030 bytes: a match never begins on a trailing byte of a multi-byte character.

#include <cstddef>
#include <string_view>

namespace varnel::text {

// Length of the character that starts at bytes[i]: 1 for ASCII, 4 for a GB18030 four-byte sequence,
// 2 for any other lead byte (a lone lead byte at the end counts as 1).
size_t gbk_char_length(std::string_view bytes, size_t i);

// First position >= from where needle starts on a character boundary, or npos. `from` must itself be
// a character boundary (0 always is).
size_t gbk_find(std::string_view haystack, std::string_view needle, size_t from = 0);

// The same without regard to ASCII letter case.
size_t gbk_find_nocase(std::string_view haystack, std::string_view needle, size_t from = 0);

}  // namespace varnel::text
