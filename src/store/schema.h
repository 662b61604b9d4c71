#pragma once

#include <string>

namespace varnel::store {

class DbConnection;

// The fixed key of data/data.mdb.
inline constexpr const char* kDatabasePassword = "mesqubrant5820471";
// The shipped operator account; the login window names its password.
inline constexpr const char* kDefaultAccount = "admin";
inline constexpr const char* kDefaultPassword = "888";
// Relative to the run directory.
inline constexpr const char* kDatabasePath = "/data/data.mdb";

// Creates the five tables and their indexes in an empty database.
bool create_schema(DbConnection& db);
// Creates the schema and the default account: the database the program ships with.
bool make_shipped_database(const std::string& path);

}  // namespace varnel::store
