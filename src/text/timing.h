#pragma once
// Every wait and period of the program, in milliseconds. The defaults are the product's; tests and the
// demo pass a shortened copy instead of waiting.

namespace varnel {

struct Timing {
  int detection_period_ms = 60000;   // between detection passes
  int delivery_period_ms = 5000;     // between delivery passes
  int resend_period_ms = 120000;     // from a failed delivery to the next resend
  int chat_open_wait_ms = 1000;      // after clicking the IM toolbar and after entering a nick
  int login_wait_ms = 500;           // marketplace login, between requests
  int http_timeout_ms = 18000;       // connect, send and receive, each
};

}  // namespace varnel
