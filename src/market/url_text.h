#pragma once
// Address splitting, form encoding and marker cutting for marketplace requests and pages.
//
// Pages and form values are GB18030 bytes; searches never match from a trailing byte of a two-byte
// character.

#include <cstddef>
#include <string>
#include <string_view>

namespace varnel::market {

// True when the address starts with "https://" (any case).
bool url_is_secure(std::string_view address);
// The host without port, lower-cased. The "http://" or "https://" prefix is optional.
std::string url_host(std::string_view address);
// The port after the host's ":", or 80 (443 for https) when there is none. Text after the digits is
// ignored; no digits at all give 0.
int url_port(std::string_view address);
// Everything from the first "/" after the host, query included, or "/".
std::string url_path(std::string_view address);

// Percent-encodes the GB18030 bytes of UTF-8 text: ASCII letters and digits stay, every other byte
// becomes %XX with upper-case hex.
std::string url_encode(std::string_view utf8);
// The same for bytes that already are GB18030 (values cut out of a page).
std::string url_encode_gb(std::string_view gb);

// The text after the first `start` found from `start_position` (counting from 1) up to the first `end`
// after it. Empty when either marker is missing.
std::string_view text_between(std::string_view text, std::string_view start, std::string_view end,
                              size_t start_position = 1);

// The GB18030 form of a UTF-8 marker, for searching page bytes.
std::string gb(std::string_view utf8);

}  // namespace varnel::market
