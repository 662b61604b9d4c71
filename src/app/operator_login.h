#pragma once

#include <string>

namespace varnel::store {
class DbRecordset;
}

namespace varnel::app {

enum class LoginCheck { empty_account, empty_password, lookup_failed, unknown_user, wrong_password, accepted };

// Checks a typed account and password against 用户表; the first matching row's password counts.
LoginCheck check_operator_login(store::DbRecordset& rs, const std::string& account, const std::string& password);

}  // namespace varnel::app
