#include "store/db_statement.h"

#include <sqlite3.h>

#include "store/db_bind.h"
#include "store/db_connection.h"

namespace varnel::store {

DbStatement::DbStatement(DbConnection& connection, const std::string& sql) : connection_(connection) {
  if (!connection.is_open() ||
      sqlite3_prepare_v2(connection.handle(), sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
}

DbStatement::~DbStatement() { sqlite3_finalize(stmt_); }

bool DbStatement::run(const DbParams& params, int* affected) {
  if (affected) *affected = -1;
  if (!stmt_) return false;
  // Every run binds every parameter, so the previous values need no clearing.
  if (!bind_params(stmt_, params, true)) return false;
  bool ok = sqlite3_step(stmt_) == SQLITE_DONE;
  sqlite3_reset(stmt_);
  if (ok && affected) *affected = sqlite3_changes(connection_.handle());
  return ok;
}

}  // namespace varnel::store
