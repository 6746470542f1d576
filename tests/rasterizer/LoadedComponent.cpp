#include "LoadedComponent.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "framework/InterfaceIds.h"
#include "framework/MessageCodes.h"
#include "host/PluginModule.h"
#include "rasterizer/Entry.h"

namespace QuillTest {

namespace {

#ifdef QUILL_MODULE_PATH
// Loaded once per test program and kept: components may be made by any test.
Orb::GetPluginFunction moduleEntry() {
  static const std::unique_ptr<Host::PluginModule> module = [] {
    std::string error;
    std::unique_ptr<Host::PluginModule> loaded = Host::PluginModule::open(QUILL_MODULE_PATH, error);
    EXPECT_NE(loaded, nullptr) << error;
    return loaded;
  }();
  return module ? module->entry() : nullptr;
}
#else
// Linked into the program, which then shares the component's platform layer.
Orb::GetPluginFunction moduleEntry() { return &_getPlugin; }
#endif

template <typename Interface>
Interface* lookUp(Orb::Plugin* plugin, const char* id) {
  void* part = nullptr;
  EXPECT_EQ(plugin->queryInterface(Orb::SimpleString<char>(id), &part), Orb::QUERY_INTERFACE_OK);
  return static_cast<Interface*>(part);
}

}  // namespace

std::string fixtureFontsFolder() { return std::string(QUILL_FIXTURES_DIR) + "/fonts"; }

std::string quillMonoPath() { return std::string(QUILL_FIXTURES_DIR) + "/extra/QuillMono.ttf"; }

std::vector<std::uint8_t> quillMonoBytes() {
  std::ifstream file(quillMonoPath(), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

LoadedComponent::LoadedComponent() {
  const Orb::GetPluginFunction entry = moduleEntry();
  if (!entry) return;
  EXPECT_EQ(entry(&host, &plugin), 0);
  if (!plugin) return;
  component = lookUp<Orb::ComponentInterface>(plugin, Orb::ID_INTERFACE_COMPONENT);
  transform = lookUp<Orb::TransformInterface>(plugin, Orb::ID_INTERFACE_TRANSFORM);
}

LoadedComponent::~LoadedComponent() {
  if (plugin) {
    component->detach();
    release();
  }
}

std::int32_t LoadedComponent::release() {
  const std::int32_t count = plugin->release();
  if (count == 0) plugin = nullptr;
  return count;
}

void LoadedComponent::destroy() {
  component->detach();
  EXPECT_EQ(release(), 0);
}

void LoadedComponent::wire(const char* inputFormat, const char* outputFormat, bool attach) {
  ASSERT_NE(plugin, nullptr);
  if (attach) {
    ASSERT_TRUE(component->attach(&settings));
  }
  input = transform->createInputPort(Orb::PORT_KIND_STREAM, inputFormat, nullptr);
  output = transform->createOutputPort(Orb::PORT_KIND_STREAM, outputFormat, nullptr);
  ASSERT_NE(input, nullptr);
  ASSERT_NE(output, nullptr);
  const Orb::PropertyValue port = Orb::PropertyValue::makePointer(&downstream);
  ASSERT_TRUE(control(Orb::CONTROL_CONNECT, &port));
  const Orb::PropertyValue source = Orb::PropertyValue::makePointer(&allocator);
  ASSERT_TRUE(control(Orb::CONTROL_SET_ALLOCATOR, &source));
}

Host::SampleBuffer& LoadedComponent::keep(std::unique_ptr<Host::SampleBuffer> sample) {
  samples.push_back(std::move(sample));
  return *samples.back();
}

Host::SampleBuffer& LoadedComponent::deliverText(const std::string& text, bool accepted) {
  Host::SampleBuffer& sample = keep(Host::SampleBuffer::text(text));
  EXPECT_EQ(deliver(sample), accepted) << text;
  return sample;
}

bool LoadedComponent::deliver(Orb::MediaBuffer& sample) {
  const Orb::PropertyValue value = Orb::PropertyValue::makePointer(&sample);
  return deliverMessage(Orb::MESSAGE_SAMPLE, &value);
}

bool LoadedComponent::deliverMessage(std::uint32_t code, const Orb::PropertyValue* value) {
  return input->deliver(code, value);
}

bool LoadedComponent::control(std::uint32_t code, const Orb::PropertyValue* value) {
  return output->control(code, value);
}

Image LoadedComponent::image(std::size_t index) const {
  const std::vector<Image> images = downstream.images();
  EXPECT_LT(index, images.size());
  return index < images.size() ? images[index] : Image{};
}

std::pair<std::int32_t, std::int32_t> LoadedComponent::frame() const {
  const auto told = downstream.imageProperties();
  EXPECT_FALSE(told.empty());
  return told.empty() ? std::make_pair(0, 0) : std::make_pair(told.back().width, told.back().height);
}

int countPixels(const Image& image, const std::uint8_t (&bytes)[4]) {
  const Orb::RectInt& region = image.properties.region;
  int count = 0;
  for (int y = region.top; y <= region.bottom; ++y) {
    for (int x = region.left; x <= region.right; ++x) {
      const std::uint8_t* pixel = image.pixel(x, y);
      if (pixel && std::memcmp(pixel, bytes, 4) == 0) ++count;
    }
  }
  return count;
}

int boxWidth(const Image& image) { return image.properties.region.width(); }

}  // namespace QuillTest
