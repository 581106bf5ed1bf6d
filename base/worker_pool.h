// A fixed set of worker threads that run the items of one loop at a time. The
// calling thread works too, so a pool of one thread starts none and runs the loop
// in line: the console program stays single-threaded.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace morvale {

class WorkerPool {
 public:
  // Starts threads - 1 helpers. When the system cannot start them all (a memory or
  // thread limit), those started are stopped again and startError() says why; such
  // a pool must not be used.
  explicit WorkerPool(int threads);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  int threads() const { return static_cast<int>(helpers_.size()) + 1; }
  // "" when every thread started, else one line naming the count and the reason.
  const std::string& startError() const { return startError_; }

  // Runs body(item, worker) for every item in [0, count), worker in [0, threads()),
  // and returns when all are done. An exception from an item is rethrown here once
  // the loop has stopped.
  void forEach(std::size_t count, const std::function<void(std::size_t, int)>& body);

 private:
  void stop();
  void help(int worker);
  void work(int worker);

  std::vector<std::thread> helpers_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable finished_;
  const std::function<void(std::size_t, int)>* body_ = nullptr;
  std::size_t count_ = 0;
  std::atomic<std::size_t> next_{0};
  std::size_t generation_ = 0;
  int busy_ = 0;
  bool closing_ = false;
  std::exception_ptr failure_;
  std::string startError_;
};

}  // namespace morvale
