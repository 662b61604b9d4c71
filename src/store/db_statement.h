#pragma once
// A statement prepared once and run many times with new values: bulk inserts such as the card-key import.

#include <string>

#include "store/db_value.h"

struct sqlite3_stmt;

namespace varnel::store {

class DbConnection;

class DbStatement {
 public:
  DbStatement(DbConnection& connection, const std::string& sql);
  ~DbStatement();
  DbStatement(const DbStatement&) = delete;
  DbStatement& operator=(const DbStatement&) = delete;

  bool is_valid() const { return stmt_ != nullptr; }
  // Runs the statement with these values; it must return no rows.
  bool run(const DbParams& params, int* affected = nullptr);

 private:
  DbConnection& connection_;
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace varnel::store
