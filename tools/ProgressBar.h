#pragma once
// A one-line progress bar redrawn in place on a terminal. It draws nothing when its
// stream is not a terminal (a log file or a pipe should not fill with carriage returns)
// and redraws at most every 100 ms so that drawing never slows rendering down. The
// threads of a parallel run may all report to one bar.
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <mutex>

namespace QuillRender {

class ProgressBar {
 public:
  /// `stream` is not owned. `enabled` false makes every call a no-op; pass
  /// isTerminal(stream) for the usual behaviour.
  ProgressBar(std::FILE* stream, std::size_t total, bool enabled);
  /// Clears the bar if it is still on screen.
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  /// `done` of the total are finished.
  void update(std::size_t done);
  /// One more of the total is finished (counted from 0, or from the last update).
  void advance();
  /// Removes the bar so that the next line starts on a clean line.
  void clear();

  /// True when `stream` is an interactive terminal.
  static bool isTerminal(std::FILE* stream);

 private:
  void show(std::size_t done);  // with mutex_ held
  void draw(std::size_t done);

  std::FILE* stream_;
  std::size_t total_;
  bool enabled_;
  std::mutex mutex_;  // guards everything below and the drawing
  std::size_t done_ = 0;
  bool shown_ = false;
  std::chrono::steady_clock::time_point lastDraw_{};
};

}  // namespace QuillRender
