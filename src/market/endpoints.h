#pragma once
// Where the marketplace is: its three hosts, the seller's numeric ID and the fixed login form values.
// Built-in defaults, overridden by data/endpoints.ini of the run directory:
//
//   [marketplace]
//   scheme = http                  (or https)
//   login_host = login.taobao.com  (host or host:port; likewise trade_host, logistics_host)
//   seller_id = 12345678
//   tb_token, tid, home_page, ca_file  (rarely needed)
//
// Lines starting with ";" or "#" are comments; other sections are ignored.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace varnel::market {

// Receives UTF-8 lines for the operation log.
using LogFn = std::function<void(const std::string&)>;

struct Endpoints {
  std::string scheme = "http";
  std::string login_host = "login.taobao.com";
  std::string trade_host = "trade.taobao.com";
  std::string logistics_host = "wuliu.taobao.com";
  std::string seller_id = "12345678";
  // Fixed values of the login form.
  std::string tb_token = "7c1b9f2d06e4a";
  std::string tid = "XOR_1_000000000000000000000000000000_B1D4F09A7C2E8136D5A0F47C";
  std::string home_page = "http://www.taobao.com/";
  // Trusted certificate authorities for https; empty means the system's.
  std::string ca_file;

  bool operator==(const Endpoints&) const = default;
};

// scheme "://" host path
std::string endpoint_address(const Endpoints& endpoints, std::string_view host, std::string_view path);

std::filesystem::path endpoints_file(const std::filesystem::path& run_dir);

// The defaults, overridden by the file when it exists. A file that cannot be read or holds anything
// but comments, sections and known keys with valid values is reported once through `log`, and then
// none of it is used.
Endpoints load_endpoints(const std::filesystem::path& file, const LogFn& log);

// Writes every value, creating the folder. False when the file cannot be written.
bool save_endpoints(const std::filesystem::path& file, const Endpoints& endpoints);

}  // namespace varnel::market
