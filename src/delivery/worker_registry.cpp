#include "delivery/worker_registry.h"

namespace varnel::delivery {

bool WorkerRegistry::start(std::function<void()> work) {
  std::list<Worker> finished;
  std::lock_guard lock(mutex_);
  if (closed_) return false;
  for (auto it = workers_.begin(); it != workers_.end();) {
    auto next = std::next(it);
    if (it->ended->load()) finished.splice(finished.end(), workers_, it);
    it = next;
  }
  // An ended worker only has its return left, so these joins are immediate.
  for (Worker& w : finished) w.thread.join();
  auto ended = std::make_shared<std::atomic<bool>>(false);
  workers_.push_back({std::thread([work = std::move(work), ended] {
                        work();
                        *ended = true;
                      }),
                      ended});
  return true;
}

void WorkerRegistry::join_all() {
  std::list<Worker> all;
  {
    std::lock_guard lock(mutex_);
    all.swap(workers_);
  }
  for (Worker& w : all) w.thread.join();
}

void WorkerRegistry::close_and_join() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }
  join_all();
}

}  // namespace varnel::delivery
