#pragma once
// Text is UTF-8 inside the program; the outside world (files, pages, form bodies) speaks GB18030,
// a strict superset of GBK, so every GBK byte sequence passes unchanged.

#include <optional>
#include <string>
#include <string_view>

namespace varnel::text {

// Decodes GB18030 bytes; a byte sequence that is not GB18030 becomes U+FFFD, so a hostile page never
// stops the decoding.
std::string gb_to_utf8(std::string_view gb);

// Decodes GB18030 bytes, or nothing when any sequence is invalid.
std::optional<std::string> gb_to_utf8_strict(std::string_view gb);

// Encodes UTF-8 text as GB18030. Invalid UTF-8 input bytes become "?".
std::string utf8_to_gb(std::string_view utf8);

bool is_valid_utf8(std::string_view bytes);

// A byte string taken as text ends at its first zero byte.
std::string_view until_nul(std::string_view bytes);

}  // namespace varnel::text
