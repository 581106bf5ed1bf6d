#include "base/worker_pool.h"

#include <new>
#include <system_error>

namespace morvale {

WorkerPool::WorkerPool(int threads) {
  try {
    helpers_.reserve(threads > 1 ? static_cast<std::size_t>(threads - 1) : 0);
    for (int w = 1; w < threads; ++w) helpers_.emplace_back([this, w] { help(w); });
  } catch (const std::system_error& e) {
    startError_ = "cannot start " + std::to_string(threads) + " threads: " + e.code().message();
  } catch (const std::bad_alloc&) {
    startError_ = "cannot start " + std::to_string(threads) + " threads: out of memory";
  }
  if (!startError_.empty()) stop();
}

WorkerPool::~WorkerPool() {
  stop();
}

void WorkerPool::stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
  }
  wake_.notify_all();
  for (std::thread& t : helpers_) t.join();
  helpers_.clear();
}

void WorkerPool::work(int worker) {
  for (std::size_t item; (item = next_.fetch_add(1)) < count_;) {
    try {
      (*body_)(item, worker);
    } catch (...) {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!failure_) failure_ = std::current_exception();
    }
  }
}

void WorkerPool::help(int worker) {
  std::size_t seen = 0;
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [&] { return closing_ || generation_ != seen; });
      if (closing_) return;
      seen = generation_;
    }
    work(worker);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      --busy_;
    }
    finished_.notify_one();
  }
}

void WorkerPool::forEach(std::size_t count, const std::function<void(std::size_t, int)>& body) {
  if (helpers_.empty() || count <= 1) {
    for (std::size_t item = 0; item < count; ++item) body(item, 0);
    return;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    body_ = &body;
    count_ = count;
    next_ = 0;
    busy_ = static_cast<int>(helpers_.size());
    failure_ = nullptr;
    ++generation_;
  }
  wake_.notify_all();
  work(0);
  std::exception_ptr failure;
  {
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [&] { return busy_ == 0; });
    failure = failure_;
    body_ = nullptr;
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace morvale
