#include "tools/WorkQueue.h"

namespace QuillRender {

WorkQueue::WorkQueue(std::size_t count) : count_(count) {}

std::optional<std::size_t> WorkQueue::next() {
  std::lock_guard<std::mutex> guard(mutex_);
  if (failedIndex_ || next_ == count_) return std::nullopt;
  return next_++;
}

void WorkQueue::fail(std::size_t index, std::string error) {
  std::lock_guard<std::mutex> guard(mutex_);
  if (failedIndex_ && *failedIndex_ < index) return;
  failedIndex_ = index;
  error_ = std::move(error);
}

std::optional<std::string> WorkQueue::failure() const {
  std::lock_guard<std::mutex> guard(mutex_);
  if (!failedIndex_) return std::nullopt;
  return error_;
}

}  // namespace QuillRender
