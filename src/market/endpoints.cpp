#include "market/endpoints.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

namespace varnel::market {
namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

bool all_of(std::string_view s, bool (*ok)(unsigned char)) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [&](char c) { return ok(static_cast<unsigned char>(c)); });
}

bool is_digit(unsigned char c) { return std::isdigit(c); }
bool is_host_char(unsigned char c) { return std::isalnum(c) || c == '.' || c == '-'; }
bool is_form_char(unsigned char c) {
  return std::isalnum(c) || c == '_' || c == '-' || c == '.' || c == '~' || c == '%';
}
bool is_printable(unsigned char c) { return c >= 0x20 && c != 0x7F; }

bool valid_host(std::string_view value) {
  size_t colon = value.find(':');
  if (!all_of(value.substr(0, colon), is_host_char)) return false;
  if (colon == std::string_view::npos) return true;
  std::string_view port = value.substr(colon + 1);
  if (!all_of(port, is_digit) || port.size() > 5) return false;
  int n = std::stoi(std::string(port));
  return n >= 1 && n <= 65535;
}

using Field = std::string Endpoints::*;
struct Key {
  Field field;
  bool (*valid)(std::string_view);
};

const std::map<std::string, Key, std::less<>>& keys() {
  static const std::map<std::string, Key, std::less<>> table = {
      {"scheme", {&Endpoints::scheme, [](std::string_view v) { return v == "http" || v == "https"; }}},
      {"login_host", {&Endpoints::login_host, valid_host}},
      {"trade_host", {&Endpoints::trade_host, valid_host}},
      {"logistics_host", {&Endpoints::logistics_host, valid_host}},
      {"seller_id", {&Endpoints::seller_id, [](std::string_view v) { return all_of(v, is_digit); }}},
      {"tb_token", {&Endpoints::tb_token, [](std::string_view v) { return all_of(v, is_form_char); }}},
      {"tid", {&Endpoints::tid, [](std::string_view v) { return all_of(v, is_form_char); }}},
      {"home_page", {&Endpoints::home_page, [](std::string_view v) { return all_of(v, is_printable); }}},
      {"ca_file", {&Endpoints::ca_file, [](std::string_view v) { return v.empty() || all_of(v, is_printable); }}},
  };
  return table;
}

// The endpoints of the text, or the number of the first line that is wrong.
struct Parsed {
  Endpoints endpoints;
  int bad_line = 0;
};

Parsed parse(std::istream& in) {
  Parsed out;
  std::string raw;
  std::optional<std::string> section;
  for (int number = 1; std::getline(in, raw); ++number) {
    std::string_view line = trim(raw);
    if (number == 1 && line.starts_with("\xEF\xBB\xBF")) line = trim(line.substr(3));
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      if (line.back() != ']') return {{}, number};
      section = std::string(trim(line.substr(1, line.size() - 2)));
      continue;
    }
    if (!section) return {{}, number};
    if (*section != "marketplace") continue;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return {{}, number};
    auto key = keys().find(trim(line.substr(0, eq)));
    std::string_view value = trim(line.substr(eq + 1));
    if (key == keys().end() || !key->second.valid(value)) return {{}, number};
    out.endpoints.*(key->second.field) = std::string(value);
  }
  return out;
}

}  // namespace

std::string endpoint_address(const Endpoints& endpoints, std::string_view host, std::string_view path) {
  std::string out = endpoints.scheme;
  out += "://";
  out += host;
  out += path;
  return out;
}

std::filesystem::path endpoints_file(const std::filesystem::path& run_dir) {
  return run_dir / "data" / "endpoints.ini";
}

Endpoints load_endpoints(const std::filesystem::path& file, const LogFn& log) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return {};
  std::ifstream in(file, std::ios::binary);
  Parsed parsed;
  if (!in) {
    parsed.bad_line = -1;
  } else {
    parsed = parse(in);
    if (in.bad()) parsed.bad_line = -1;
  }
  if (parsed.bad_line == 0) return parsed.endpoints;
  if (log) {
    const std::string where = parsed.bad_line > 0 ? "第" + std::to_string(parsed.bad_line) + "行有误" : "无法读取";
    log("市场地址配置 data/endpoints.ini " + where + ",已使用内置的默认地址");
  }
  return {};
}

bool save_endpoints(const std::filesystem::path& file, const Endpoints& endpoints) {
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  std::ostringstream text;
  text << "[marketplace]\n";
  for (const auto& [name, key] : keys()) text << name << " = " << endpoints.*(key.field) << "\n";
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text.str();
  out.close();
  return static_cast<bool>(out);
}

}  // namespace varnel::market
