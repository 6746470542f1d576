// A host of the Quill module: load it, hand it one subtitle, save the image as a PNG.
#include <png.h>

#include <cstdio>

#include "framework/FormatCodes.h"
#include "framework/SettingKinds.h"
#include "host/CapturingPort.h"
#include "host/HostBufferAllocator.h"
#include "host/HostedComponent.h"
#include "host/RecordingHost.h"
#include "host/SampleBuffer.h"
#include "host/SettingsStore.h"

int main(int argc, char** argv) {
  if (argc != 5) return std::fprintf(stderr, "usage: %s MODULE FONT TEXT OUT.png\n", argv[0]), 2;
  std::string error = "the component refused a step";
  const auto module = Host::PluginModule::open(argv[1], error);
  // Everything the component uses is made before it, so that it goes first.
  Host::RecordingHost host;
  Host::SettingsStore settings;
  Host::HostBufferAllocator allocator;
  Host::CapturingPort screen;
  const auto subtitle = Host::SampleBuffer::text(argv[3]);
  const auto component = module ? Host::HostedComponent::create(*module, host, error) : nullptr;
  settings.setSize(Orb::SETTING_KIND_FRAMEBUFFER, "framebuffer", "size", 1280, 720);
  settings.setString(Orb::SETTING_KIND_STYLE, "Font", "Name", argv[2]);  // "DejaVu Sans:"
  if (!component || !component->attach(settings) ||
      !component->createPorts(Orb::INPUT_FORMAT_UTF8, "RGBA") ||
      !component->connect(screen, allocator) || !component->deliver(*subtitle)) {
    return std::fprintf(stderr, "no image: %s\n", error.c_str()), 1;
  }
  const Host::CapturingPort::Image image = screen.images().back();
  const Orb::RectInt& region = image.properties.region;  // drawn: all but its last column, row
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = region.width() - 1;
  png.height = region.height() - 1;
  png.format = PNG_FORMAT_RGBA;  // the component's colours are premultiplied by alpha
  const bool written = png_image_write_to_file(&png, argv[4], 0, image.pixel(region.left, region.top),
                                               image.properties.stride * 4, nullptr);
  return written ? 0 : (std::fprintf(stderr, "cannot write %s\n", argv[4]), 1);
}
