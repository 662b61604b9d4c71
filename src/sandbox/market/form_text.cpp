#include "sandbox/market/form_text.h"

#include <cctype>

namespace varnel::sandbox {
namespace {

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string percent_decode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      int hi = hex_value(text[i + 1]), lo = hex_value(text[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

std::map<std::string, std::string, std::less<>> parse_form(std::string_view text) {
  std::map<std::string, std::string, std::less<>> out;
  while (!text.empty()) {
    size_t amp = text.find('&');
    std::string_view pair = text.substr(0, amp);
    size_t eq = pair.find('=');
    std::string key = percent_decode(pair.substr(0, eq));
    std::string value = eq == std::string_view::npos ? std::string() : percent_decode(pair.substr(eq + 1));
    if (!key.empty()) out.emplace(std::move(key), std::move(value));
    if (amp == std::string_view::npos) break;
    text.remove_prefix(amp + 1);
  }
  return out;
}

std::string cookie_value(std::string_view header, std::string_view name) {
  while (!header.empty()) {
    size_t semi = header.find(';');
    std::string_view item = header.substr(0, semi);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    size_t eq = item.find('=');
    if (eq != std::string_view::npos && item.substr(0, eq) == name) return std::string(item.substr(eq + 1));
    if (semi == std::string_view::npos) break;
    header.remove_prefix(semi + 1);
  }
  return {};
}

std::string html_escape(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

}  // namespace varnel::sandbox
