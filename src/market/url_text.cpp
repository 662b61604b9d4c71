#include "market/url_text.h"

#include "text/encoding.h"
#include "text/gbk_search.h"

#include <algorithm>
#include <cctype>

namespace varnel::market {
namespace {

bool starts_with_nocase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) return false;
  }
  return true;
}

size_t prefix_length(std::string_view address) {
  if (starts_with_nocase(address, "http://")) return 7;
  if (starts_with_nocase(address, "https://")) return 8;
  return 0;
}

// Host and optional ":port", as written.
std::string_view host_part(std::string_view address) {
  std::string_view rest = address.substr(prefix_length(address));
  return rest.substr(0, rest.find('/'));
}

}  // namespace

bool url_is_secure(std::string_view address) { return starts_with_nocase(address, "https://"); }

std::string url_host(std::string_view address) {
  std::string_view host = host_part(address);
  std::string out(host.substr(0, host.find(':')));
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
  return out;
}

int url_port(std::string_view address) {
  std::string_view host = host_part(address);
  size_t colon = host.find(':');
  if (colon == std::string_view::npos) return url_is_secure(address) ? 443 : 80;
  long value = 0;
  for (size_t i = colon + 1; i < host.size() && std::isdigit(static_cast<unsigned char>(host[i])); ++i) {
    value = value * 10 + (host[i] - '0');
    if (value > 99999) break;  // no port has more digits; stops an overflow
  }
  return static_cast<int>(value);
}

std::string url_path(std::string_view address) {
  // Searched after the scheme prefix: a short host such as "t" would otherwise be found inside "http".
  size_t start = prefix_length(address);
  size_t slash = address.find('/', start);
  return slash == std::string_view::npos ? std::string("/") : std::string(address.substr(slash));
}

std::string url_encode_gb(std::string_view gb) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(gb.size() * 3);
  for (unsigned char c : gb) {
    if (std::isalnum(c) && c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(hex[c >> 4]);
      out.push_back(hex[c & 0x0F]);
    }
  }
  return out;
}

std::string url_encode(std::string_view utf8) { return url_encode_gb(text::utf8_to_gb(utf8)); }

std::string_view text_between(std::string_view text, std::string_view start, std::string_view end,
                              size_t start_position) {
  // The search has to begin on a character boundary: walk to the first one at or after the position.
  size_t from = 0;
  const size_t wanted = start_position > 0 ? start_position - 1 : 0;
  while (from < wanted && from < text.size()) from += text::gbk_char_length(text, from);
  size_t at = text::gbk_find(text, start, from);
  if (at == std::string_view::npos) return {};
  std::string_view after = text.substr(at + start.size());
  size_t stop = text::gbk_find(after, end);
  if (stop == std::string_view::npos) return {};
  return after.substr(0, stop);
}

std::string gb(std::string_view utf8) { return text::utf8_to_gb(utf8); }

}  // namespace varnel::market
