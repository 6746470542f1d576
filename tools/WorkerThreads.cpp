#include "tools/WorkerThreads.h"

#include <system_error>
#include <thread>
#include <vector>

namespace QuillRender {

std::size_t runWorkers(std::size_t workers, const std::function<void(std::size_t worker)>& work) {
  if (workers == 0) return 0;
  std::vector<std::thread> threads;
  try {
    threads.reserve(workers - 1);
    for (std::size_t worker = 1; worker < workers; ++worker) threads.emplace_back(work, worker);
  } catch (const std::system_error&) {
    // Out of threads: the ones already running, and this one, share the work.
  }
  work(0);
  for (std::thread& thread : threads) thread.join();
  return threads.size() + 1;
}

}  // namespace QuillRender
