#include "market/curl_transfer.h"

#include "market/url_text.h"
#include "text/gbk_search.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <mutex>
#include <vector>

namespace varnel::market::detail {
namespace {

// The share handle lives for the whole process and is never cleaned up: a worker thread may still be
// inside a transfer while static destructors run.
struct CookieShare {
  CURLSH* handle = nullptr;
  std::mutex locks[CURL_LOCK_DATA_LAST];
};

void lock_share(CURL*, curl_lock_data data, curl_lock_access, void* user) {
  static_cast<CookieShare*>(user)->locks[data].lock();
}

void unlock_share(CURL*, curl_lock_data data, void* user) { static_cast<CookieShare*>(user)->locks[data].unlock(); }

CURLSH* cookie_share() {
  static CookieShare* share = [] {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    auto* s = new CookieShare;
    s->handle = curl_share_init();
    curl_share_setopt(s->handle, CURLSHOPT_LOCKFUNC, lock_share);
    curl_share_setopt(s->handle, CURLSHOPT_UNLOCKFUNC, unlock_share);
    curl_share_setopt(s->handle, CURLSHOPT_USERDATA, s);
    curl_share_setopt(s->handle, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    curl_share_setopt(s->handle, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
    return s;
  }();
  return share->handle;
}

struct Reply {
  std::string body;
  bool over_cap = false;
  std::string* headers = nullptr;
  const std::atomic<bool>* cancel = nullptr;
};

int on_progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const auto* reply = static_cast<const Reply*>(user);
  return reply->cancel && reply->cancel->load() ? 1 : 0;  // non-zero aborts the transfer
}

size_t on_body(char* data, size_t size, size_t count, void* user) {
  auto* reply = static_cast<Reply*>(user);
  const size_t n = size * count;
  if (reply->body.size() + n > kMaxReplyBytes) {
    reply->over_cap = true;
    return 0;  // makes curl abort the transfer
  }
  reply->body.append(data, n);
  return n;
}

size_t on_header(char* data, size_t size, size_t count, void* user) {
  auto* reply = static_cast<Reply*>(user);
  const size_t n = size * count;
  std::string_view line(data, n);
  // After a redirect only the final reply's headers count.
  if (line.starts_with("HTTP/")) reply->headers->clear();
  reply->headers->append(line);
  return n;
}

struct SlistFree {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct EasyFree {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};

bool is_post(std::string_view method) {
  std::string upper(method);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  return upper == "POST";
}

// The caller's lines first, then each default line whose name the caller did not give.
std::vector<std::string> header_lines(std::string_view address, std::string_view extra) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < extra.size();) {
    size_t end = extra.find("\r\n", at);
    if (end == std::string_view::npos) end = extra.size();
    if (end > at) lines.emplace_back(extra.substr(at, end - at));
    at = end + 2;
  }
  auto add_if_absent = [&](std::string_view name, std::string line) {
    if (text::gbk_find_nocase(extra, name) == std::string_view::npos) lines.push_back(std::move(line));
  };
  add_if_absent("Accept: ",
                "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
                "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*");
  add_if_absent("Referer: ", "Referer: " + std::string(address));
  add_if_absent("Accept-Language: ", "Accept-Language: zh-cn");
  return lines;
}

// One request of a transfer: the first one, or one that follows a redirect.
struct Hop {
  std::string url;
  std::string verb;  // as the caller wrote it; only a POST has a body
  bool post = false;
};

struct HopResult {
  long status = 0;
  std::string redirect;  // absolute address of a redirect's target, or empty
};

// Performs one request into `reply`. The header lines are the caller's and the defaults; the lines
// that announce a body are added for a POST only.
HopResult perform(const Hop& hop, const std::vector<std::string>& base_lines, const std::string& body,
                  const HttpOptions& options, const Timing& timing, Reply& reply) {
  std::unique_ptr<CURL, EasyFree> easy(curl_easy_init());
  if (!easy) return {};
  CURL* h = easy.get();
  curl_easy_setopt(h, CURLOPT_SHARE, cookie_share());
  curl_easy_setopt(h, CURLOPT_COOKIEFILE, "");  // switches the cookie engine on, reads no file
  curl_easy_setopt(h, CURLOPT_URL, hop.url.c_str());
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, on_body);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &reply);
  if (reply.cancel) {
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, on_progress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &reply);
  }
  if (reply.headers) {
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, on_header);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &reply);
  }
  // An empty proxy is set explicitly so that proxy variables of the environment are not used either.
  const bool secure = url_is_secure(hop.url);
  const std::string proxy = options.proxy && !secure ? *options.proxy : std::string();
  curl_easy_setopt(h, CURLOPT_PROXY, proxy.c_str());
  if (!options.ca_file.empty()) curl_easy_setopt(h, CURLOPT_CAINFO, options.ca_file.c_str());

  // Connect time-out as given; the send and receive time-outs become "no byte moved for that long".
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(std::max(1, timing.http_timeout_ms)));
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, static_cast<long>(std::max(1, (timing.http_timeout_ms + 999) / 1000)));

  std::vector<std::string> lines = base_lines;
  if (hop.post) {
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.c_str());
    if (hop.verb != "POST") curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, hop.verb.c_str());
    if (body.empty()) {
      // A bare "Name:" line removes curl's own header: an empty body goes without both.
      lines.emplace_back("Content-Type:");
      lines.emplace_back("Content-Length:");
    } else {
      // curl writes its Content-Length after our lines, so the pair keeps its order.
      lines.emplace_back("Content-Type: application/x-www-form-urlencoded");
    }
  } else {
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
  }
  lines.emplace_back("Expect:");

  std::unique_ptr<curl_slist, SlistFree> list;
  for (const std::string& line : lines) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (!grown) return {};
    list.release();
    list.reset(grown);
  }
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, list.get());

  HopResult result;
  if (curl_easy_perform(h) != CURLE_OK) return result;
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &result.status);
  char* next = nullptr;
  if (curl_easy_getinfo(h, CURLINFO_REDIRECT_URL, &next) == CURLE_OK && next) result.redirect = next;
  return result;
}

constexpr int kMaxRedirects = 20;

}  // namespace

std::string curl_transfer(std::string_view address, const HttpOptions& options, const Timing& timing) {
  // A control character in an address (a CR LF cut out of a hostile page) would end up in the header
  // lines; such an address is not requested at all.
  if (std::any_of(address.begin(), address.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; })) return {};
  const int port = url_port(address);
  const std::string host = url_host(address);
  if (host.empty() || port <= 0 || port > 65535) return {};

  Hop hop;
  hop.url = (url_is_secure(address) ? "https://" : "http://") + host + ":" + std::to_string(port) + url_path(address);
  hop.verb = options.method.value_or(std::string());
  hop.post = is_post(hop.verb);
  const std::vector<std::string> lines = header_lines(address, options.extra_headers.value_or(std::string()));
  const std::string body = options.body.value_or(std::string());

  Reply reply;
  reply.headers = options.response_headers;
  reply.cancel = options.cancel;
  if (reply.headers) reply.headers->clear();
  // Redirects are followed here rather than by curl, which would repeat the POST's Content-Type line
  // on the GET that follows a 302.
  for (int redirects = 0;; ++redirects) {
    reply.body.clear();
    const HopResult result = perform(hop, lines, body, options, timing, reply);
    if (reply.over_cap || (reply.cancel && reply.cancel->load())) return {};
    if (result.status < 300 || result.status > 399 || result.redirect.empty() || redirects == kMaxRedirects) break;
    hop.url = result.redirect;
    // As browsers do: only 307 and 308 repeat the POST, every other redirect becomes a GET.
    if (result.status != 307 && result.status != 308) {
      hop.post = false;
      hop.verb = "GET";
    }
  }
  return std::move(reply.body);
}

}  // namespace varnel::market::detail
