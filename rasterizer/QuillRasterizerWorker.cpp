#include "rasterizer/QuillRasterizer.h"

namespace Orb {

void QuillRasterizer::run() {
  for (;;) {
    std::int32_t command = kIdle;
    {
      boost::unique_lock<boost::mutex> guard(workerMutex);
      if (workerCommand.load() == kIdle) workerSignal.wait(guard);
      command = workerCommand.exchange(kIdle);
    }
    if (command == kExit) return;
    if (command == kRerender) rerenderRetained();
  }
}

void QuillRasterizer::requestRerender() {
  {
    boost::lock_guard<boost::mutex> guard(workerMutex);
    // Once the worker is told to exit, nothing may take that back.
    if (workerCommand.load() != kExit) workerCommand = kRerender;
  }
  workerSignal.notify_all();
}

void QuillRasterizer::stopWorker() {
  if (!worker) return;
  {
    boost::lock_guard<boost::mutex> guard(workerMutex);
    workerCommand = kExit;
  }
  workerSignal.notify_all();
  worker->join();
  worker.reset();
}

void QuillRasterizer::rerenderRetained() {
  boost::unique_lock<HandOverMutex> guard(componentLock);
  if (retainedSample && retainedSample->length > 0 && hasPendingFrame()) {
    // Downstream hears the frame it has now before the render moves to the new one.
    updateGeometry();
  }
  // The worker only ever renders the sample that was retained when it started: a sample a
  // host thread delivers meanwhile, and that downstream refused, is still the host's.
  MediaBuffer* const sample = retainedSample;
  while (sample && sample->length > 0 && renderer && retainedSample == sample) {
    currentSample = sample;
    const RenderOutcome outcome = renderSample();
    currentSample = nullptr;
    // Only a downstream refusal may go away by itself; a missing port, text or buffer
    // would fail the same way on every try.
    if (outcome != RenderOutcome::Refused || workerCommand.load() != kIdle) return;
    // Let host threads deliver, flush or disconnect; the loop condition then checks that
    // the sample is still the retained one before touching it again.
    componentLock.handOver();
  }
}

}  // namespace Orb
