#pragma once
// A downstream port for benchmarks: it counts the images a component sends and keeps only
// the last one (the buffer itself, not a copy, so that receiving costs the component's
// timing nothing a real host would not pay). The kept buffer is given back to its
// allocator when the next image arrives, on clear() and on destruction, so the allocator
// must outlive the port.
//
// Threads: a component may deliver from its worker thread while the owner reads;
// every operation is thread-safe, but `lastImage()` is only stable while no image arrives.
#include <cstdint>
#include <mutex>

#include "framework/ImageBuffer.h"
#include "framework/ImageProperties.h"
#include "framework/PortInterface.h"

namespace QuillBench {

class LastImagePort : public Orb::PortInterface {
 public:
  LastImagePort() = default;
  ~LastImagePort() override;
  LastImagePort(const LastImagePort&) = delete;
  LastImagePort& operator=(const LastImagePort&) = delete;

  /// Answers true.
  bool query(std::uint32_t code, const Orb::PropertyValue* value) override;
  /// Answers true.
  bool control(std::uint32_t code, const Orb::PropertyValue* value) override;
  /// Leaves every query unanswered: the frame is never limited.
  bool getValue(std::uint32_t code, Orb::PropertyValue* value) override;
  /// Accepts MESSAGE_SAMPLE (an ImageBuffer, kept) and MESSAGE_IMAGE_PROPERTIES (its frame
  /// size noted); refuses anything else.
  bool deliver(std::uint32_t code, const Orb::PropertyValue* value) override;

  /// Gives the kept image back.
  void clear();

  std::uint64_t imageCount() const;
  /// The last image, or null; valid until the next image arrives or clear().
  const Orb::ImageBuffer* lastImage() const;
  /// The frame size the component last announced (0 x 0 before it did).
  std::int32_t frameWidth() const;
  std::int32_t frameHeight() const;

 private:
  mutable std::mutex mutex_;
  Orb::ImageBuffer* last_ = nullptr;  // released by this port
  std::uint64_t images_ = 0;
  std::int32_t frameWidth_ = 0;
  std::int32_t frameHeight_ = 0;
};

}  // namespace QuillBench
