#pragma once

#include <gtest/gtest.h>

#include "store/db_connection.h"
#include "store/schema.h"
#include "temp_dir.h"

namespace varnel::testing {

// A fresh encrypted database with the program's schema.
class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.file("data.mdb");
    ASSERT_TRUE(db_.create(path_, store::kDatabasePassword));
    ASSERT_TRUE(store::create_schema(db_));
  }

  TempDir dir_;
  std::string path_;
  store::DbConnection db_;
};

}  // namespace varnel::testing
