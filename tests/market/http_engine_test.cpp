#include "market/http_engine.h"

#include "market_test_support.h"
#include "raw_server.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>
#include <httplib.h>

#include <thread>

namespace varnel::market {
namespace {

using testing::RawServer;

RawServer::Responder answer_with(const std::string& body) {
  return [body](const std::string&, int) { return RawServer::Answer{RawServer::reply(body)}; };
}

HttpOptions post(const std::string& body, const std::string& verb = "POST") {
  HttpOptions o;
  o.method = verb;
  o.body = body;
  return o;
}

TEST(HttpEngine, GetSendsExactlyTheDefaultLinesAndNoBody) {
  RawServer server(answer_with("page"));
  HttpOptions o;
  o.body = "ignored=1";  // a GET never sends a body
  EXPECT_EQ(http_request(server.address("/a/B?x=1&y=%20"), o, testing::fast_timing()), "page");
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0], testing::expected_head("GET", server.port(), "/a/B?x=1&y=%20") + "\r\n");
}

TEST(HttpEngine, PostCarriesTypeAndLengthAfterTheDefaultLines) {
  RawServer server(answer_with("ok"));
  const std::string body = "a=1&b=%D6%D0";
  EXPECT_EQ(http_request(server.address("/form"), post(body), testing::fast_timing()), "ok");
  EXPECT_EQ(server.requests().at(0), testing::expected_post(server.port(), "/form", body));
}

TEST(HttpEngine, LargePostIsSentWithoutWaitingForContinue) {
  RawServer server(answer_with("ok"));
  const std::string body(5000, 'x');
  EXPECT_EQ(http_request(server.address("/big"), post(body), testing::fast_timing()), "ok");
  EXPECT_EQ(server.requests().at(0), testing::expected_post(server.port(), "/big", body));
}

TEST(HttpEngine, PostWithEmptyBodyHasNoTypeOrLength) {
  RawServer server(answer_with("ok"));
  http_request(server.address("/e"), post(""), testing::fast_timing());
  EXPECT_EQ(server.requests().at(0), testing::expected_head("POST", server.port(), "/e") + "\r\n");
}

TEST(HttpEngine, MethodIsNormalised) {
  struct Case {
    std::optional<std::string> method;
    std::string verb_on_wire;
  };
  for (const Case& c : {Case{"post", "post"}, Case{"HEAD", "GET"}, Case{"", "GET"}, Case{std::nullopt, "GET"}}) {
    RawServer server(answer_with("ok"));
    HttpOptions o;
    o.method = c.method;
    http_request(server.address("/m"), o, testing::fast_timing());
    const std::string request = server.requests().at(0);
    EXPECT_EQ(request.substr(0, request.find(' ')), c.verb_on_wire) << c.method.value_or("(none)");
  }
}

TEST(HttpEngine, CallerHeaderLinesReplaceTheDefaultsOfTheSameName) {
  RawServer server(answer_with("ok"));
  HttpOptions o;
  o.extra_headers = "referer: http://elsewhere/\r\nX-Test: 1\r\n";
  http_request(server.address("/h"), o, testing::fast_timing());
  const std::string host = "127.0.0.1:" + std::to_string(server.port());
  EXPECT_EQ(server.requests().at(0), "GET /h HTTP/1.1\r\nHost: " + host + "\r\nUser-Agent: " + kUserAgent +
                                         "\r\nreferer: http://elsewhere/\r\nX-Test: 1\r\n" + testing::kAcceptLine +
                                         "Accept-Language: zh-cn\r\n\r\n");
}

TEST(HttpEngine, AddressWithoutSchemeOrPathIsUsed) {
  RawServer server(answer_with("ok"));
  EXPECT_EQ(http_fetch("127.0.0.1:" + std::to_string(server.port()), {}, testing::fast_timing()), "ok");
  EXPECT_TRUE(server.requests().at(0).starts_with("GET / HTTP/1.1\r\n"));
}

TEST(HttpEngine, RedirectIsFollowedAndOnlyTheLastBodyReturned) {
  RawServer server([](const std::string&, int index) {
    if (index == 0) return RawServer::Answer{RawServer::reply("moved", "302 Found", "Location: /there\r\n")};
    return RawServer::Answer{RawServer::reply("arrived")};
  });
  std::string headers;
  HttpOptions o = post("k=v");
  o.response_headers = &headers;
  EXPECT_EQ(http_request(server.address("/here"), o, testing::fast_timing()), "arrived");
  ASSERT_EQ(server.requests().size(), 2u);
  const std::string followed = server.requests()[1];
  EXPECT_TRUE(followed.starts_with("GET /there HTTP/1.1\r\n"));
  // The redirected request is a plain GET: no body and no lines that announce one.
  EXPECT_TRUE(followed.ends_with("\r\n\r\n")) << followed;
  EXPECT_EQ(followed.find("Content-"), std::string::npos) << followed;
  EXPECT_TRUE(headers.starts_with("HTTP/1.1 200 OK\r\n")) << headers;
}

TEST(HttpEngine, TemporaryRedirectRepeatsThePost) {
  RawServer server([](const std::string&, int index) {
    if (index == 0) return RawServer::Answer{RawServer::reply("", "307 Temporary Redirect", "Location: /again\r\n")};
    return RawServer::Answer{RawServer::reply("kept")};
  });
  EXPECT_EQ(http_request(server.address("/first"), post("k=v"), testing::fast_timing()), "kept");
  ASSERT_EQ(server.requests().size(), 2u);
  EXPECT_TRUE(server.requests()[1].starts_with("POST /again HTTP/1.1\r\n"));
  EXPECT_TRUE(server.requests()[1].ends_with("Content-Length: 3\r\n\r\nk=v"));
}

TEST(HttpEngine, CookieSetOnOneThreadGoesWithRequestsOfAnother) {
  RawServer server([](const std::string&, int index) {
    if (index == 0) return RawServer::Answer{RawServer::reply("in", "200 OK", "Set-Cookie: sess=abc123; Path=/\r\n")};
    return RawServer::Answer{RawServer::reply("again")};
  });
  // Named "localhost" so that the cookie stays away from the other tests' requests to 127.0.0.1.
  const std::string base = "http://localhost:" + std::to_string(server.port());
  EXPECT_EQ(http_request(base + "/login", post("u=1"), testing::fast_timing()), "in");
  std::string reply;
  std::thread worker([&] { reply = http_fetch(base + "/query", {}, testing::fast_timing()); });
  worker.join();
  EXPECT_EQ(reply, "again");
  EXPECT_NE(server.requests().at(1).find("\r\nCookie: sess=abc123\r\n"), std::string::npos) << server.requests()[1];
}

TEST(HttpEngine, FailuresGiveEmptyBytes) {
  const Timing t = testing::fast_timing();
  EXPECT_EQ(http_fetch("http://127.0.0.1:" + std::to_string(testing::refused_port()) + "/", {}, t), "");
  EXPECT_EQ(http_fetch("http://127.0.0.1:0/", {}, t), "");
  EXPECT_EQ(http_fetch("http://127.0.0.1:70000/", {}, t), "");
  EXPECT_EQ(http_fetch("", {}, t), "");
  EXPECT_EQ(http_fetch("http://name.invalid/", {}, t), "");
}

TEST(HttpEngine, StalledServerGivesEmptyBytesAfterTheTimeOut) {
  RawServer server([](const std::string&, int) { return RawServer::Answer{{}, true}; });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(http_fetch(server.address("/slow"), {}, testing::fast_timing()), "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(HttpEngine, ACancelledRequestEndsBeforeItsTimeOut) {
  RawServer server([](const std::string&, int) { return RawServer::Answer{{}, true}; });
  std::atomic<bool> cancel{false};
  HttpOptions options;
  options.cancel = &cancel;
  std::thread exit_request([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    cancel = true;
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(http_fetch(server.address("/slow"), options, Timing{}), "");  // the full 18 s time-outs
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  exit_request.join();
}

TEST(HttpEngine, BrokenBodyGivesTheBytesReadSoFar) {
  RawServer server([](const std::string&, int) {
    return RawServer::Answer{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nfirst part"};
  });
  EXPECT_EQ(http_fetch(server.address("/cut"), {}, testing::fast_timing()), "first part");
}

TEST(HttpEngine, ReplyOverTheCapIsAFailure) {
  const std::string body(kMaxReplyBytes + 1, 'z');
  RawServer server([&](const std::string&, int) { return RawServer::Answer{RawServer::reply(body)}; });
  EXPECT_EQ(http_fetch(server.address("/huge"), {}, testing::fast_timing()), "");
}

TEST(HttpEngine, ControlCharactersInTheAddressAreNotSent) {
  RawServer server(answer_with("ok"));
  EXPECT_EQ(http_fetch(server.address("/x\r\nX-Injected: 1"), {}, testing::fast_timing()), "");
  EXPECT_TRUE(server.requests().empty());
}

TEST(HttpEngine, HttpsWorksWithATrustedCertificate) {
  const std::string dir = VARNEL_TEST_FIXTURES "/fixtures/";
  httplib::SSLServer server((dir + "loopback.crt").c_str(), (dir + "loopback.key").c_str());
  ASSERT_TRUE(server.is_valid());
  server.Get("/secure",
             [](const httplib::Request&, httplib::Response& res) { res.set_content("tls ok", "text/plain"); });
  const int port = server.bind_to_any_port("127.0.0.1");
  std::thread runner([&] { server.listen_after_bind(); });
  const std::string address = "HTTPS://127.0.0.1:" + std::to_string(port) + "/secure";

  HttpOptions trusted;
  trusted.ca_file = dir + "loopback.crt";
  EXPECT_EQ(http_fetch(address, trusted, testing::fast_timing()), "tls ok");
  // Without trust in that certificate the server is not believed.
  EXPECT_EQ(http_fetch(address, {}, testing::fast_timing()), "");
  server.stop();
  runner.join();
}

TEST(HttpEngine, WindowThreadKeepsRunningEventsWhileWaiting) {
  int argc = 1;
  char name[] = "http_engine_test";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  RawServer server([](const std::string&, int) {
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    return RawServer::Answer{RawServer::reply("late")};
  });
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(20);
  EXPECT_EQ(http_fetch(server.address("/wait"), {}, testing::fast_timing()), "late");
  EXPECT_GE(ticks, 5);
}

}  // namespace
}  // namespace varnel::market
