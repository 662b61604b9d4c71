#include "store/db_recordset.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdlib>
#include <strings.h>

#include "store/db_bind.h"
#include "store/db_connection.h"
#include "store/statement_kind.h"

namespace varnel::store {

DbRecordset::~DbRecordset() { finalize(); }

void DbRecordset::attach(DbConnection& connection) {
  finalize();
  connection_ = &connection;
}

void DbRecordset::finalize() {
  if (stmt_) sqlite3_finalize(stmt_);
  stmt_ = nullptr;
  has_row_ = false;
  columns_.clear();
}

bool DbRecordset::close() {
  finalize();
  count_.reset();
  current_page_ = 0;
  return true;
}

bool DbRecordset::prepare_and_step(const std::string& sql, const DbParams& params) {
  finalize();
  if (!connection_ || !connection_->is_open()) return false;
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(connection_->handle(), sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) !=
          SQLITE_OK ||
      !stmt || !bind_params(stmt, params)) {
    sqlite3_finalize(stmt);
    return false;
  }
  int rc = sqlite3_step(stmt);
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
    sqlite3_finalize(stmt);
    return false;
  }
  stmt_ = stmt;
  has_row_ = rc == SQLITE_ROW;
  int n = sqlite3_column_count(stmt_);
  columns_.reserve(n);
  for (int i = 0; i < n; ++i) columns_.emplace_back(sqlite3_column_name(stmt_, i));
  return true;
}

bool DbRecordset::open_paged(const std::string& sql, const DbParams& params, const std::string& key) {
  if (!open(sql, params)) return false;
  paging_key_ = key;
  return true;
}

bool DbRecordset::open(const std::string& statement, const DbParams& params) {
  close();
  paging_key_.clear();
  affected_count_ = -1;
  std::string sql(trim_statement(statement));
  if (!is_selection(sql)) {
    if (!connection_) return false;
    int affected = -1;
    bool ok = connection_->execute(sql, params, &affected);
    affected_count_ = affected;
    return ok && affected >= 0;
  }
  if (!prepare_and_step(sql, params)) return false;
  sql_ = std::move(sql);
  params_ = params;
  current_page_ = has_row_ ? 1 : 0;
  return true;
}

const DbRecordset::PageIndex& DbRecordset::page_index() {
  const long long version = connection_->data_version();
  PageIndex& index = page_index_;
  if (index.sql == sql_ && index.params == params_ && index.key == paging_key_ && index.page_size == page_size_ &&
      index.data_version == version)
    return index;
  index = PageIndex{sql_, params_, paging_key_, page_size_, version, 0, {}};
  sqlite3_stmt* stmt = nullptr;
  std::string sql = "SELECT \"" + paging_key_ + "\" FROM (" + sql_ + ")";
  if (sqlite3_prepare_v2(connection_->handle(), sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
      bind_params(stmt, params_)) {
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      if (index.count++ % page_size_ != 0) continue;
      if (sqlite3_column_type(stmt, 0) == SQLITE_INTEGER)
        index.first_keys.emplace_back(static_cast<std::int64_t>(sqlite3_column_int64(stmt, 0)));
      else
        index.first_keys.emplace_back(std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                                                  static_cast<size_t>(sqlite3_column_bytes(stmt, 0))));
    }
  }
  sqlite3_finalize(stmt);
  return index;
}

int DbRecordset::record_count() {
  if (!stmt_) return 0;
  if (!paging_key_.empty()) return page_index().count;
  if (!count_) {
    int n = 0;
    sqlite3_stmt* stmt = nullptr;
    std::string sql = "SELECT count(*) FROM (" + sql_ + ")";
    if (sqlite3_prepare_v2(connection_->handle(), sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
        bind_params(stmt, params_) && sqlite3_step(stmt) == SQLITE_ROW)
      n = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    count_ = n;
  }
  return *count_;
}

bool DbRecordset::at_end() const { return stmt_ && !has_row_; }

bool DbRecordset::move_next() {
  if (!stmt_ || !has_row_) return false;
  int rc = sqlite3_step(stmt_);
  has_row_ = rc == SQLITE_ROW;
  return rc == SQLITE_ROW || rc == SQLITE_DONE;
}

int DbRecordset::column_index(const std::string& name) const {
  for (size_t i = 0; i < columns_.size(); ++i)
    if (columns_[i] == name) return static_cast<int>(i);
  // Field names match without regard to ASCII case, as column names do in SQL.
  for (size_t i = 0; i < columns_.size(); ++i)
    if (strcasecmp(columns_[i].c_str(), name.c_str()) == 0) return static_cast<int>(i);
  return -1;
}

bool DbRecordset::read_text(const std::string& column, std::string& value) const {
  value.clear();
  int i = column_index(column);
  if (!stmt_ || !has_row_ || i < 0 || sqlite3_column_type(stmt_, i) == SQLITE_NULL) return false;
  const unsigned char* text = sqlite3_column_text(stmt_, i);
  value.assign(reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_column_bytes(stmt_, i)));
  return true;
}

bool DbRecordset::read_int(const std::string& column, long long& value) const {
  value = 0;
  int i = column_index(column);
  if (!stmt_ || !has_row_ || i < 0) return false;
  switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_INTEGER:
      value = sqlite3_column_int64(stmt_, i);
      return true;
    case SQLITE_FLOAT:
      value = static_cast<long long>(std::trunc(sqlite3_column_double(stmt_, i)));
      return true;
    case SQLITE_TEXT: {
      const char* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
      char* end = nullptr;
      double d = std::strtod(text, &end);
      if (end == text || *end != '\0' || !std::isfinite(d)) return false;
      value = static_cast<long long>(std::trunc(d));
      return true;
    }
    default:
      return false;
  }
}

int DbRecordset::page_size(std::optional<int> new_size) {
  if (new_size && *new_size >= 1) page_size_ = *new_size;
  return page_size_;
}

int DbRecordset::page_count() {
  if (!stmt_) return 0;
  int n = record_count();
  return (n + page_size_ - 1) / page_size_;
}

int DbRecordset::go_to_page(std::optional<int> page) {
  if (page && stmt_) {
    int target = std::min(*page, page_count());
    if (target >= 1) {
      DbParams params = params_;
      std::string sql;
      if (paging_key_.empty()) {
        params.emplace_back(static_cast<std::int64_t>(target - 1) * page_size_);
        sql = "SELECT * FROM (" + sql_ + ") LIMIT -1 OFFSET ?";
      } else {
        params.push_back(page_index().first_keys[target - 1]);
        sql = "SELECT * FROM (" + sql_ + ") WHERE \"" + paging_key_ + "\" >= ?";
      }
      std::optional<int> count = count_;
      if (prepare_and_step(sql, params)) {
        current_page_ = target;
        count_ = count;
      } else {
        close();
      }
    }
  }
  return current_page_;
}

}  // namespace varnel::store
