#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace varnel::store {

// A value bound to a statement parameter; text is UTF-8.
using DbValue = std::variant<std::monostate, std::int64_t, double, std::string>;
using DbParams = std::vector<DbValue>;

inline DbValue db_text(std::string s) { return DbValue(std::move(s)); }
inline DbValue db_int(std::int64_t v) { return DbValue(v); }

}  // namespace varnel::store
