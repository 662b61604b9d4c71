#pragma once
// The worker threads of the passes: one thread per pass, joined once it has ended (when the next one
// starts, and all of them at exit).

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace varnel::delivery {

class WorkerRegistry {
 public:
  WorkerRegistry() = default;
  ~WorkerRegistry() { close_and_join(); }
  WorkerRegistry(const WorkerRegistry&) = delete;
  WorkerRegistry& operator=(const WorkerRegistry&) = delete;

  // Runs `work` on a thread of its own; false (nothing started) once the registry is closed.
  bool start(std::function<void()> work);
  // Waits for every worker started so far. Never from a worker.
  void join_all();
  // No worker starts any more; then waits for those that run.
  void close_and_join();

 private:
  struct Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> ended;
  };

  std::mutex mutex_;
  std::list<Worker> workers_;
  bool closed_ = false;
};

}  // namespace varnel::delivery
