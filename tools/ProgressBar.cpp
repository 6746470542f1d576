#include "tools/ProgressBar.h"

#include <unistd.h>

#include <string>

namespace QuillRender {
namespace {

constexpr int kBarWidth = 40;
constexpr std::chrono::milliseconds kRedrawInterval(100);

}  // namespace

ProgressBar::ProgressBar(std::FILE* stream, std::size_t total, bool enabled)
    : stream_(stream), total_(total), enabled_(enabled && stream != nullptr) {}

ProgressBar::~ProgressBar() { clear(); }

bool ProgressBar::isTerminal(std::FILE* stream) {
  return stream != nullptr && isatty(fileno(stream)) == 1;
}

void ProgressBar::update(std::size_t done) {
  std::lock_guard<std::mutex> guard(mutex_);
  show(done);
}

void ProgressBar::advance() {
  std::lock_guard<std::mutex> guard(mutex_);
  show(done_ + 1);
}

void ProgressBar::show(std::size_t done) {
  done_ = done;
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (shown_ && done < total_ && now - lastDraw_ < kRedrawInterval) return;
  lastDraw_ = now;
  draw(done);
}

void ProgressBar::draw(std::size_t done) {
  const std::size_t total = total_ == 0 ? 1 : total_;
  const std::size_t clamped = done > total ? total : done;
  const int filled = static_cast<int>(clamped * kBarWidth / total);
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(kBarWidth - filled), '.');
  std::fprintf(stream_, "\r[%s] %zu/%zu", bar.c_str(), clamped, total_);
  std::fflush(stream_);
  shown_ = true;
}

void ProgressBar::clear() {
  std::lock_guard<std::mutex> guard(mutex_);
  if (!shown_) return;
  std::fprintf(stream_, "\r\033[K");
  std::fflush(stream_);
  shown_ = false;
}

}  // namespace QuillRender
