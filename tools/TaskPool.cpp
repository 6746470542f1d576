#include "tools/TaskPool.h"

#include <algorithm>
#include <system_error>

namespace QuillRender {

TaskPool::TaskPool(std::size_t threads, std::size_t queued) : queued_(std::max<std::size_t>(queued, 1)) {
  try {
    threads_.reserve(threads);
    for (std::size_t i = 0; i < threads; ++i) threads_.emplace_back(&TaskPool::work, this);
  } catch (const std::system_error&) {
    // Out of threads: the ones started carry the work.
  }
}

TaskPool::~TaskPool() { finish(); }

void TaskPool::submit(Task task) {
  if (threads_.empty()) {
    task();
    return;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return tasks_.size() < queued_; });
  tasks_.push_back(std::move(task));
  changed_.notify_all();
}

void TaskPool::finish() {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    finishing_ = true;
  }
  changed_.notify_all();
  for (std::thread& thread : threads_) {
    if (thread.joinable()) thread.join();
  }
}

void TaskPool::work() {
  while (true) {
    Task task;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [this] { return !tasks_.empty() || finishing_; });
      if (tasks_.empty()) return;  // finishing, and nothing is left
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    changed_.notify_all();  // room for a waiting submit()
    task();
  }
}

}  // namespace QuillRender
