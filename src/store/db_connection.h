#pragma once
// One connection to the encrypted database. Never throws; failures come back as false.
// A connection belongs to one thread at a time: each thread that touches the database opens its own.

#include <string>

#include "store/db_value.h"

struct sqlite3;

namespace varnel::store {

class DbConnection {
 public:
  DbConnection() = default;
  ~DbConnection();
  DbConnection(const DbConnection&) = delete;
  DbConnection& operator=(const DbConnection&) = delete;

  // Opens an existing database file with its key; a missing file, a wrong key or a file that is no
  // database fails. Opening an open connection closes it first.
  bool open(const std::string& path, const std::string& password);
  // Makes a new database file (the build's tool and tests only; the program never creates one).
  bool create(const std::string& path, const std::string& password);

  // Runs one statement that returns no rows; `affected` gets the changed row count, or -1 on failure.
  bool execute(const std::string& sql, const DbParams& params = {}, int* affected = nullptr);
  bool execute(const std::string& sql, int* affected) { return execute(sql, {}, affected); }

  bool begin_transaction();
  bool commit_transaction();
  bool rollback_transaction();

  bool is_open() const { return db_ != nullptr; }
  bool close();

  // Rowid of the last insert made on this connection.
  long long last_insert_id() const;
  // Grows on every committed change of the file by any connection; lets readers keep a cached figure.
  long long data_version();
  const std::string& last_error() const { return last_error_; }
  sqlite3* handle() const { return db_; }

 private:
  bool open_with_flags(const std::string& path, const std::string& password, int flags);
  void remember_error();

  sqlite3* db_ = nullptr;
  std::string last_error_;
};

}  // namespace varnel::store
