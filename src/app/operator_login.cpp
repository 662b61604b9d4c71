#include "app/operator_login.h"

#include "store/db_recordset.h"
#include "store/password_hash.h"

namespace varnel::app {

LoginCheck check_operator_login(store::DbRecordset& rs, const std::string& account, const std::string& password) {
  if (account.empty()) return LoginCheck::empty_account;
  if (password.empty()) return LoginCheck::empty_password;
  LoginCheck result;
  if (!rs.open("select 密码 from 用户表 where 用户名=? order by ID", {store::db_text(account)})) {
    result = LoginCheck::lookup_failed;
  } else if (rs.record_count() < 1) {
    result = LoginCheck::unknown_user;
  } else {
    std::string stored;
    rs.read_text("密码", stored);
    result = store::password_matches(stored, password) ? LoginCheck::accepted : LoginCheck::wrong_password;
  }
  rs.close();
  return result;
}

}  // namespace varnel::app
