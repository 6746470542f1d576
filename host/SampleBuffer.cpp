#include "host/SampleBuffer.h"

#include <cstring>

#include "framework/FormatCodes.h"

namespace Host {

SampleBuffer::SampleBuffer(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {
  setData(bytes_.data(), static_cast<std::uint32_t>(bytes_.size()));
  length = size;
}

std::unique_ptr<SampleBuffer> SampleBuffer::text(const std::string& utf8) {
  return std::make_unique<SampleBuffer>(std::vector<std::uint8_t>(utf8.begin(), utf8.end()));
}

std::unique_ptr<SampleBuffer> SampleBuffer::wideText(const std::u16string& utf16) {
  std::vector<std::uint8_t> bytes(utf16.size() * sizeof(char16_t));
  if (!bytes.empty()) std::memcpy(bytes.data(), utf16.data(), bytes.size());
  return std::make_unique<SampleBuffer>(std::move(bytes));
}

std::unique_ptr<SampleBuffer> SampleBuffer::font(std::vector<std::uint8_t> fontFile) {
  auto sample = std::make_unique<SampleBuffer>(std::move(fontFile));
  sample->setTypeName(Orb::SAMPLE_TYPE_FONT);
  return sample;
}

std::unique_ptr<SampleBuffer> SampleBuffer::fontAttachment(std::vector<std::uint8_t> fontFile) {
  auto sample = std::make_unique<SampleBuffer>(std::move(fontFile));
  sample->setCode(Orb::SAMPLE_TYPE_FONT);
  sample->word4 = Orb::FONT_ATTACHMENT_WORD4;
  return sample;
}

void SampleBuffer::release() {
  MediaBuffer::release();
  ++releases_;
}

}  // namespace Host
