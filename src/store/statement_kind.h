#pragma once

#include <string_view>

namespace varnel::store {

// Leading and trailing spaces removed, half-width and full-width (U+3000) alike.
std::string_view trim_statement(std::string_view sql);

// A statement is a selection when its own leading keyword is SELECT (or WITH), whatever its values
// contain; everything else is executed.
bool is_selection(std::string_view sql);

}  // namespace varnel::store
