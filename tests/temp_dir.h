#pragma once
// A fresh run directory for one test, removed afterwards.

#include <filesystem>
#include <random>
#include <string>

namespace varnel::testing {

class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("varnel-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  std::string file(const std::string& relative) const { return (path_ / relative).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace varnel::testing
