#include "sandbox/im/sim_message_loop.h"

namespace varnel::sandbox {

SimMessageLoop::SimMessageLoop(std::function<void(const PostedMessage&)> handler)
    : handler_(std::move(handler)), queue_(std::make_shared<Queue>()), thread_([this] { run(); }) {}

SimMessageLoop::~SimMessageLoop() {
  {
    std::lock_guard lock(queue_->lock);
    queue_->stopping = true;
  }
  queue_->changed.notify_all();
  thread_.join();
}

MessageSink SimMessageLoop::sink() {
  return [queue = std::weak_ptr<Queue>(queue_)](const PostedMessage& message) {
    const auto q = queue.lock();
    if (!q) return;
    {
      std::lock_guard lock(q->lock);
      if (q->stopping) return;
      q->messages.push_back(message);
    }
    q->changed.notify_all();
  };
}

void SimMessageLoop::wait_idle() {
  std::unique_lock lock(queue_->lock);
  queue_->changed.wait(lock, [&] { return queue_->messages.empty() && !queue_->busy; });
}

void SimMessageLoop::run() {
  std::unique_lock lock(queue_->lock);
  for (;;) {
    queue_->changed.wait(lock, [&] { return !queue_->messages.empty() || queue_->stopping; });
    if (queue_->messages.empty()) return;
    const PostedMessage message = queue_->messages.front();
    queue_->messages.pop_front();
    queue_->busy = true;
    lock.unlock();
    handler_(message);
    lock.lock();
    queue_->busy = false;
    queue_->changed.notify_all();
  }
}

}  // namespace varnel::sandbox
