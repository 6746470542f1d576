#pragma once
// A sample buffer that owns its bytes and counts how often it is given back, so that a
// test can see a component release a sample twice, or never. Releasing does not free
// it: the sample lives until its owner (normally a std::unique_ptr) destroys it, which
// must not happen while a component still holds it.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/TypedMediaBuffer.h"

namespace Host {

class SampleBuffer : public Orb::TypedMediaBuffer {
 public:
  /// A plain sample holding `bytes`; length and size are their count.
  explicit SampleBuffer(std::vector<std::uint8_t> bytes);

  /// UTF-8 subtitle text, without a terminator.
  static std::unique_ptr<SampleBuffer> text(const std::string& utf8);
  /// UTF-16 subtitle text in native byte order; length is twice the unit count.
  static std::unique_ptr<SampleBuffer> wideText(const std::u16string& utf16);
  /// A font file delivered as a sample: type name "FONT".
  static std::unique_ptr<SampleBuffer> font(std::vector<std::uint8_t> fontFile);
  /// A font file delivered as an attachment: descriptor code "FONT" and word 4 = 4.
  static std::unique_ptr<SampleBuffer> fontAttachment(std::vector<std::uint8_t> fontFile);

  /// Waits until no other thread holds the sample, then counts the release.
  void release() override;

  int releaseCount() const { return releases_.load(); }

 private:
  std::vector<std::uint8_t> bytes_;
  std::atomic<int> releases_{0};
};

}  // namespace Host
