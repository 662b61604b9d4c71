#pragma once
// A temporary run directory holding a copy of the shipped database, as the program is delivered.

#include <filesystem>

#include "temp_dir.h"

namespace varnel::testing {

class RunDir : public TempDir {
 public:
  RunDir() {
    std::filesystem::create_directories(path() / "data");
    std::filesystem::copy_file(VARNEL_SHIPPED_DB, path() / "data" / "data.mdb");
  }
  std::string database() const { return file("data/data.mdb"); }
};

}  // namespace varnel::testing
