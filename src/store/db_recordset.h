#pragma once
// One result of a selection over a DbConnection, read row by row or page by page. Never throws.
//
// `open` runs a selection as a result; any other statement is executed through the attached connection
// and leaves the recordset closed, with `affected_count` telling how many rows it changed.

#include <optional>
#include <string>
#include <vector>

#include "store/db_value.h"

struct sqlite3_stmt;

namespace varnel::store {

class DbConnection;

class DbRecordset {
 public:
  DbRecordset() = default;
  ~DbRecordset();
  DbRecordset(const DbRecordset&) = delete;
  DbRecordset& operator=(const DbRecordset&) = delete;

  void attach(DbConnection& connection);
  bool open(const std::string& sql, const DbParams& params = {});
  // A selection listed page by page. `key` names a unique column of the result whose ascending order
  // the statement returns its rows in ("... order by 卡密表.ID" with key "ID"). Pages are then reached
  // through an index of each page's first key instead of counting rows off from the start, and the
  // index is kept for the next listing until the data or the page size changes.
  bool open_paged(const std::string& sql, const DbParams& params, const std::string& key);
  bool is_open() const { return stmt_ != nullptr; }
  bool close();

  int record_count();
  bool at_end() const;
  bool move_next();
  bool read_text(const std::string& column, std::string& value) const;
  // Numbers are truncated toward zero; text that is no number fails.
  bool read_int(const std::string& column, long long& value) const;

  // The page size belongs to the recordset and survives close and open; values below 1 are refused.
  int page_size(std::optional<int> new_size = std::nullopt);
  int page_count();
  // Moves to min(page, page_count); a request below 1 leaves the position unchanged. Returns the page
  // in force, 0 for an empty or closed result.
  int go_to_page(std::optional<int> page = std::nullopt);

  int affected_count() const { return affected_count_; }

 private:
  struct PageIndex {
    std::string sql;
    DbParams params;
    std::string key;
    int page_size = 0;
    long long data_version = -1;
    int count = 0;
    std::vector<DbValue> first_keys;  // the key of each page's first row
  };

  bool prepare_and_step(const std::string& sql, const DbParams& params);
  const PageIndex& page_index();
  int column_index(const std::string& name) const;
  void finalize();

  DbConnection* connection_ = nullptr;
  sqlite3_stmt* stmt_ = nullptr;
  std::vector<std::string> columns_;
  bool has_row_ = false;
  std::string sql_;
  DbParams params_;
  std::string paging_key_;
  PageIndex page_index_;
  std::optional<int> count_;
  int page_size_ = 10;
  int current_page_ = 0;
  int affected_count_ = -1;
};

}  // namespace varnel::store
