#pragma once
// Binding parameter values to a prepared statement (shared by the connection and the recordset).

#include <sqlite3.h>

#include <type_traits>

#include "store/db_value.h"

namespace varnel::store {

// `params_outlive_step`: the values stay alive and unchanged until the statement has been stepped, so
// SQLite may read them in place instead of copying each one.
inline bool bind_params(sqlite3_stmt* stmt, const DbParams& params, bool params_outlive_step = false) {
  const auto lifetime = params_outlive_step ? SQLITE_STATIC : SQLITE_TRANSIENT;
  if (static_cast<int>(params.size()) != sqlite3_bind_parameter_count(stmt)) return false;
  for (size_t i = 0; i < params.size(); ++i) {
    int idx = static_cast<int>(i) + 1;
    int rc = std::visit(
        [&](const auto& v) {
          using T = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<T, std::monostate>) return sqlite3_bind_null(stmt, idx);
          else if constexpr (std::is_same_v<T, std::int64_t>) return sqlite3_bind_int64(stmt, idx, v);
          else if constexpr (std::is_same_v<T, double>) return sqlite3_bind_double(stmt, idx, v);
          else return sqlite3_bind_text(stmt, idx, v.data(), static_cast<int>(v.size()), lifetime);
        },
        params[i]);
    if (rc != SQLITE_OK) return false;
  }
  return true;
}

}  // namespace varnel::store
