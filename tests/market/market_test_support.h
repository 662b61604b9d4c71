#pragma once
// Shared bits of the marketplace tests: short time-outs and the request text curl writes for us.

#include "market/endpoints.h"
#include "market/http_engine.h"
#include "text/timing.h"

#include <string>

namespace varnel::testing {

inline Timing fast_timing() {
  Timing t;
  t.http_timeout_ms = 1000;
  t.login_wait_ms = 10;
  return t;
}

inline const std::string kAcceptLine =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";

// The request head as the engine must send it to 127.0.0.1:port, without cookies.
inline std::string expected_head(const std::string& verb, int port, const std::string& path) {
  const std::string host = "127.0.0.1:" + std::to_string(port);
  return verb + " " + path + " HTTP/1.1\r\nHost: " + host + "\r\nUser-Agent: " + market::kUserAgent + "\r\n" +
         kAcceptLine + "Referer: http://" + host + path + "\r\nAccept-Language: zh-cn\r\n";
}

inline std::string expected_post(int port, const std::string& path, const std::string& body) {
  return expected_head("POST", port, path) +
         "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\n\r\n" + body;
}

// All three hosts on one loopback port.
inline market::Endpoints loopback_endpoints(int port) {
  market::Endpoints e;
  const std::string host = "127.0.0.1:" + std::to_string(port);
  e.login_host = e.trade_host = e.logistics_host = host;
  return e;
}

}  // namespace varnel::testing
