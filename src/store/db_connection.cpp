#include "store/db_connection.h"

#include <sqlite3.h>

#include "store/db_bind.h"

namespace varnel::store {

DbConnection::~DbConnection() { close(); }

bool DbConnection::open(const std::string& path, const std::string& password) {
  return open_with_flags(path, password, SQLITE_OPEN_READWRITE);
}

bool DbConnection::create(const std::string& path, const std::string& password) {
  return open_with_flags(path, password, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

bool DbConnection::open_with_flags(const std::string& path, const std::string& password, int flags) {
  close();
  sqlite3* db = nullptr;
  // A connection is used by one thread at a time, so SQLite needs no mutex of its own on it.
  if (sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
    last_error_ = db ? sqlite3_errmsg(db) : "cannot open";
    sqlite3_close(db);
    return false;
  }
  db_ = db;
  // The key must be set before the first read; reading the schema proves that the key fits.
  bool ok = sqlite3_key(db_, password.data(), static_cast<int>(password.size())) == SQLITE_OK &&
            sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) == SQLITE_OK;
  if (ok) {
    sqlite3_busy_timeout(db_, 10000);
    // WAL lets the window thread read while a delivery pass or an import writes; a large page cache keeps
    // decrypted pages for paging through big lists.
    ok = sqlite3_exec(db_, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA cache_size=-65536;",
                      nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  if (!ok) {
    remember_error();
    sqlite3_close(db_);
    db_ = nullptr;
    return false;
  }
  return true;
}

bool DbConnection::execute(const std::string& sql, const DbParams& params, int* affected) {
  if (affected) *affected = -1;
  if (!db_) return false;
  sqlite3_stmt* stmt = nullptr;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, &tail) != SQLITE_OK || !stmt) {
    remember_error();
    sqlite3_finalize(stmt);
    return false;
  }
  bool ok = bind_params(stmt, params);
  if (ok) {
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    ok = rc == SQLITE_DONE;
  }
  if (!ok) remember_error();
  sqlite3_finalize(stmt);
  if (ok && affected) *affected = sqlite3_changes(db_);
  return ok;
}

bool DbConnection::begin_transaction() { return execute("BEGIN IMMEDIATE"); }
bool DbConnection::commit_transaction() { return execute("COMMIT"); }
bool DbConnection::rollback_transaction() { return execute("ROLLBACK"); }

bool DbConnection::close() {
  if (db_) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
  }
  return true;
}

long long DbConnection::last_insert_id() const { return db_ ? sqlite3_last_insert_rowid(db_) : 0; }

long long DbConnection::data_version() {
  if (!db_) return -1;
  sqlite3_stmt* stmt = nullptr;
  long long v = -1;
  if (sqlite3_prepare_v2(db_, "PRAGMA data_version", -1, &stmt, nullptr) == SQLITE_OK &&
      sqlite3_step(stmt) == SQLITE_ROW)
    v = sqlite3_column_int64(stmt, 0);
  sqlite3_finalize(stmt);
  // data_version only moves for other connections' commits; our own changes are counted apart.
  return v * 1000003LL + sqlite3_total_changes(db_);
}

void DbConnection::remember_error() { last_error_ = db_ ? sqlite3_errmsg(db_) : "not open"; }

}  // namespace varnel::store
