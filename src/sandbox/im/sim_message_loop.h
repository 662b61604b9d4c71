#pragma once
// The message thread of a simulated process: posted messages are handled there one after another, in the
// order they were posted, as another program would.

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "sandbox/im/sim_desktop.h"

namespace varnel::sandbox {

class SimMessageLoop {
 public:
  explicit SimMessageLoop(std::function<void(const PostedMessage&)> handler);
  // Handles what is queued, then ends the thread.
  ~SimMessageLoop();
  SimMessageLoop(const SimMessageLoop&) = delete;
  SimMessageLoop& operator=(const SimMessageLoop&) = delete;

  // A sink for the desktop; it may outlive the loop and then drops what it gets.
  MessageSink sink();
  // Returns once every message posted before the call has been handled.
  void wait_idle();

 private:
  struct Queue {
    std::mutex lock;
    std::condition_variable changed;
    std::deque<PostedMessage> messages;
    bool busy = false;
    bool stopping = false;
  };
  void run();

  std::function<void(const PostedMessage&)> handler_;
  std::shared_ptr<Queue> queue_;
  std::thread thread_;
};

}  // namespace varnel::sandbox
