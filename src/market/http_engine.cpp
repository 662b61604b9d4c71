#include "market/http_engine.h"

#include "market/curl_transfer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <thread>

namespace varnel::market {
namespace {

bool on_event_loop_thread() {
  auto* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

}  // namespace

std::string http_request(std::string_view address, const HttpOptions& options, const Timing& timing) {
  if (!on_event_loop_thread()) return detail::curl_transfer(address, options, timing);
  // The window thread keeps its event loop running until the helper thread has the answer.
  std::string reply;
  QEventLoop loop;
  std::thread worker([&] {
    reply = detail::curl_transfer(address, options, timing);
    QMetaObject::invokeMethod(
        &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  return reply;
}

std::string http_fetch(std::string_view address, HttpOptions options, const Timing& timing) {
  for (auto* option : {&options.method, &options.proxy, &options.extra_headers, &options.body}) {
    if (!*option) *option = std::string();
  }
  return http_request(address, options, timing);
}

}  // namespace varnel::market
