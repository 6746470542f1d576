#pragma once
// Threads that carry out tasks handed to them, so that the thread handing them out goes
// on with its own work: quill-render's components render while the images they delivered
// are compressed and written on the machine's other cores. The queue is short and a
// hand-over waits while it is full, so images never pile up in memory faster than they
// are written.
//
// Ownership: the pool owns its threads and the tasks waiting; finish() or the destructor
// runs every task handed over and joins the threads. Threads: submit() may be called
// from several threads at once; finish() once, by the owner, after the last submit().
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace QuillRender {

class TaskPool {
 public:
  using Task = std::function<void()>;

  /// Starts `threads` threads, with room for `queued` tasks waiting. When the system
  /// refuses a thread the pool makes do with fewer; with none, submit() runs each task
  /// itself.
  TaskPool(std::size_t threads, std::size_t queued);
  /// As finish().
  ~TaskPool();
  TaskPool(const TaskPool&) = delete;
  TaskPool& operator=(const TaskPool&) = delete;

  /// Hands `task` over, waiting while the queue is full. Tasks must not throw.
  void submit(Task task);

  /// Waits until every task handed over has run, and ends the threads.
  void finish();

  /// Threads running tasks (0 when none could be started).
  std::size_t threads() const { return threads_.size(); }

 private:
  void work();

  const std::size_t queued_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Task> tasks_;
  bool finishing_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace QuillRender
