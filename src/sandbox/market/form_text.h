#pragma once
// Reading what the program sends: form bodies, query strings and cookie headers.

#include <map>
#include <string>
#include <string_view>

namespace varnel::sandbox {

// "a=1&b=%D6%D0" -> {a: "1", b: the decoded bytes}. "+" stays "+": the program never encodes a space
// that way. A malformed escape is kept as written. The first of repeated keys wins.
std::map<std::string, std::string, std::less<>> parse_form(std::string_view text);

std::string percent_decode(std::string_view text);

// The value of one cookie in a Cookie header, or empty.
std::string cookie_value(std::string_view header, std::string_view name);

// & < > " as entities, as a web page writes them.
std::string html_escape(std::string_view text);

}  // namespace varnel::sandbox
