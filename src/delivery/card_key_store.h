#pragma once
// The passes' own view of the database: the blacklist check, the card-key pick and the record of a sale.
// Holds one connection, opened on first use; the passes never overlap, so one thread uses it at a time.

#include <optional>
#include <string>

#include "store/db_connection.h"
#include "store/db_recordset.h"
#include "text/date_text.h"

namespace varnel::delivery {

struct CardKey {
  long long item_id = 0;
  long long key_id = 0;
  std::string account;
  std::string password;
};

class CardKeyStore {
 public:
  explicit CardKeyStore(std::string database_path) : path_(std::move(database_path)) {}

  // A database that cannot be opened or read lists nobody.
  bool is_blacklisted(const std::string& buyer_nick);
  // The first unused card key of the item named exactly so, in card-key ID order; none when the item is
  // unknown, out of stock, or the database cannot be read.
  std::optional<CardKey> pick(const std::string& item_name);
  // Marks the key used and inserts the sale in one transaction. False, with nothing changed, unless the key
  // was still unused and the sale went in.
  bool record_sale(const CardKey& key, const std::string& order_number, const std::string& buyer_nick,
                   const text::LocalTime& at);
  void close();

 private:
  bool ensure_open();

  std::string path_;
  store::DbConnection db_;
  store::DbRecordset rs_;
};

}  // namespace varnel::delivery
