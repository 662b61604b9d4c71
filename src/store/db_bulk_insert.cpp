#include "store/db_bulk_insert.h"

#include "store/db_statement.h"

namespace varnel::store {
namespace {

std::string values_list(const std::string& row, size_t rows) {
  std::string out;
  for (size_t i = 0; i < rows; ++i) out += (i ? "," : "") + row;
  return out;
}

}  // namespace

DbBulkInsert::DbBulkInsert(DbConnection& connection, const std::string& table, const std::vector<std::string>& columns,
                           int rows_per_statement)
    : connection_(connection), columns_(columns.size()), rows_per_statement_(std::max(1, rows_per_statement)) {
  std::string names, marks;
  for (size_t i = 0; i < columns.size(); ++i) {
    names += (i ? ", " : "") + columns[i];
    marks += i ? ", ?" : "?";
  }
  insert_head_ = "INSERT INTO " + table + " (" + names + ") VALUES ";
  row_placeholders_ = "(" + marks + ")";
  full_ = std::make_unique<DbStatement>(connection_, insert_head_ + values_list(row_placeholders_, rows_per_statement_));
  ok_ = full_->is_valid() && columns_ > 0;
  pending_.reserve(columns_ * rows_per_statement_);
}

DbBulkInsert::~DbBulkInsert() = default;

bool DbBulkInsert::add(DbParams row) {
  if (!ok_ || row.size() != columns_) return ok_ = false;
  for (auto& value : row) pending_.push_back(std::move(value));
  if (pending_.size() == columns_ * rows_per_statement_) ok_ = send_full_statement();
  return ok_;
}

bool DbBulkInsert::send_full_statement() {
  bool sent = full_->run(pending_);
  pending_.clear();
  return sent;
}

bool DbBulkInsert::finish() {
  if (ok_ && !pending_.empty()) {
    DbStatement rest(connection_, insert_head_ + values_list(row_placeholders_, pending_.size() / columns_));
    ok_ = rest.run(pending_);
  }
  pending_.clear();
  return ok_;
}

}  // namespace varnel::store
