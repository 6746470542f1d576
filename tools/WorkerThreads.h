#pragma once
// Running one piece of work per worker, side by side.
#include <cstddef>
#include <functional>

namespace QuillRender {

/// Calls `work` with each worker number from 0 to `workers` - 1, number 0 on the calling
/// thread and each other one on a thread of its own, and returns when every call has
/// returned. When the system refuses a thread, the workers that did start carry on
/// without it: `work` must not count on every number being called, and must not throw.
/// Answers how many workers ran (at least 1 when `workers` is not 0).
std::size_t runWorkers(std::size_t workers, const std::function<void(std::size_t worker)>& work);

}  // namespace QuillRender
