#pragma once
// Hands the events of a run to the threads that render them, in file order, and keeps the
// failure that comes first in that order, so that a run on several threads stops and
// reports where a run on one would. Every operation is thread-safe.
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>

namespace QuillRender {

class WorkQueue {
 public:
  /// Indices 0 to `count` - 1 are to be done.
  explicit WorkQueue(std::size_t count);

  /// The lowest index not yet handed out; nullopt once all are, or once a failure is
  /// recorded. Indices go out in increasing order, so when one fails every index before
  /// it has already been taken and is finished by its thread.
  std::optional<std::size_t> next();

  /// Records that index `index` failed with `error`. Of several failures the one of the
  /// lowest index is kept: the one a run in order would have stopped at.
  void fail(std::size_t index, std::string error);

  /// The error of the kept failure; nullopt when nothing failed.
  std::optional<std::string> failure() const;

 private:
  mutable std::mutex mutex_;
  const std::size_t count_;
  std::size_t next_ = 0;
  std::optional<std::size_t> failedIndex_;
  std::string error_;
};

}  // namespace QuillRender
