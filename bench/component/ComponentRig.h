#pragma once
// One component of the built plug-in module, loaded as a host loads it (Host::PluginModule),
// wired to the in-process host objects for benchmarks: settings holding a
// frame size and the font family, an allocator that recycles buffers (or the test host's
// zero-filling one) and a downstream that keeps only the last image. Renders in DejaVu Sans through a face cache of its own (BenchFontsFolder).
//
// Ownership: the rig owns the fonts folder, the host objects and the component's one
// reference; samples delivered must outlive the rig (the component retains the last one).
// Threads: one thread drives the rig; the component's worker thread only runs on style
// changes, and emptyCaches() keeps it from re-rendering anything.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bench/component/BenchFontsFolder.h"
#include "bench/component/LastImagePort.h"
#include "framework/MediaBuffer.h"
#include "host/HostBufferAllocator.h"
#include "host/HostedComponent.h"
#include "host/RecordingHost.h"
#include "host/RecyclingAllocator.h"
#include "host/SampleBuffer.h"
#include "host/SettingsStore.h"

namespace QuillBench {

struct RigSettings {
  /// The "framebuffer"/"size" setting. The component sizes its font from it: 1920 x 1080
  /// gives 49 pixels, a text area of 1728 x 216 and a classic canvas of 2592 x 324.
  std::int32_t frameWidth = 1920;
  std::int32_t frameHeight = 1080;
  /// The "Font"/"Name" setting: the family before the first ":", style words after it.
  std::string fontName = "DejaVu Sans:";
  /// "RGBA", "ARGB", "BGRA" or "ABGR".
  std::string outputFormat = "RGBA";
  /// The "Layout"/"Engine" setting: "classic" (the component's default) or "full".
  std::string layout = "classic";
  /// Buffers from Host::HostBufferAllocator, a fresh zero-filled block per image, instead
  /// of recycled ones; the fill is the host's cost, timed with the component's.
  bool zeroFilledBuffers = false;
};

class ComponentRig {
 public:
  explicit ComponentRig(const RigSettings& settings = RigSettings());
  ~ComponentRig();
  ComponentRig(const ComponentRig&) = delete;
  ComponentRig& operator=(const ComponentRig&) = delete;

  /// False when the module, the fonts or a wiring step failed; `error()` says which.
  bool ready() const { return error_.empty(); }
  const std::string& error() const { return error_; }

  /// Delivers `sample` on the input port (MESSAGE_SAMPLE); true when an image reached the
  /// downstream port.
  bool deliver(Orb::MediaBuffer& sample);

  /// Makes the component start again without anything kept between events: it drops its
  /// retained sample and builds a new renderer (by connecting its output again), whose
  /// glyph cache is empty and which has only its base face open.
  void emptyCaches();

  const LastImagePort& downstream() const { return downstream_; }

 private:
  void wire(const RigSettings& settings);

  BenchFontsFolder fonts_;  // first: the component scans it when made, and last to go
  Host::RecordingHost host_;
  Host::SettingsStore settings_;
  Host::HostBufferAllocator zeroFilling_;
  Host::RecyclingAllocator recycling_;
  Orb::BufferAllocator* allocator_ = nullptr;  // one of the two above
  LastImagePort downstream_;  // after the allocators: it gives its buffer back on destruction
  std::string error_;
  std::unique_ptr<Host::HostedComponent> component_;  // goes before the host objects
};

/// A text sample for each of `texts` (UTF-8), for ComponentRig::deliver.
std::vector<std::unique_ptr<Host::SampleBuffer>> textSamples(const std::vector<std::string>& texts);

}  // namespace QuillBench
