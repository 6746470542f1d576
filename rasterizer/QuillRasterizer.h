#pragma once
// The module's one component: a transform that turns timed subtitle text arriving on its
// input port into outlined 32-bit images delivered on its output port.
//
// Ownership: the component owns its two ports, its text renderer, its worker thread and
// its face-cache connection. It holds the last sample it sent on (the retained sample)
// until a different one replaces it, a flush, discard or disconnect, or destruction. It
// never frees output buffers (they are the host allocator's), nor font samples (their bytes
// stay referenced while the font is in use, so the host keeps them alive).
//
// Threads: host threads call every interface; the worker thread re-renders the retained
// sample when the style changes. `componentLock` (recursive) guards the renderer and all
// sample, style and frame state; the worker's command word and the pending frame size have
// their own small locks so that setting changes never wait for a render.
#include <atomic>
#include <boost/thread/condition_variable.hpp>
#include <boost/thread/mutex.hpp>
#include <boost/thread/thread.hpp>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "fontcache/CacheDatabase.h"
#include "framework/BufferAllocator.h"
#include "framework/ImageBuffer.h"
#include "framework/MediaBuffer.h"
#include "framework/Plugin.h"
#include "framework/PortInterface.h"
#include "framework/PropertyTable.h"
#include "framework/RectInt.h"
#include "framework/SettingConsumer.h"
#include "framework/SettingsProvider.h"
#include "framework/SubtitleLines.h"
#include "framework/TransformComponent.h"
#include "framework/TypedMediaBuffer.h"
#include "rasterizer/CacheFaceLookup.h"
#include "rasterizer/FontName.h"
#include "rasterizer/Geometry.h"
#include "rasterizer/HandOverMutex.h"
#include "text/TextRendererInterface.h"

namespace Orb {

class QuillRasterizer : public Plugin, public SettingConsumer, public TransformComponent {
 public:
  /// Fills the properties, starts the worker thread and refreshes the face cache from the
  /// system fonts folder on the calling thread. `host` is not owned. The text renderer is
  /// made later, by attach (or by a connection or font arriving before it).
  explicit QuillRasterizer(PluginHost* host);

  /// Stops and joins the worker, then releases the retained sample, both ports and the
  /// renderer. Does not unregister from the settings provider: detach first when the
  /// provider outlives the component.
  ~QuillRasterizer() override;

  // Plugin
  /// Answers the component, transform and transform-component parts.
  std::int32_t queryInterface(const SimpleString<char>& id, void** out) override;

  // ComponentInterface
  /// Registers with `provider`, reads every setting and makes the renderer. False (and
  /// unregistered again) when no renderer can be made; false for a null provider.
  bool attach(SettingsProvider* provider) override;
  /// Unregisters from the provider; the renderer stays.
  bool detach() override;
  bool getPropertyNames(std::vector<const char*>* names) override;
  bool getProperty(const char* name, PropertyValue* value) override;

  // TransformInterface: ports are created and released without a lock; the host serialises
  // them against everything else that uses the port.
  /// An output port for "RGBA", "ARGB", "BGRA" or "ABGR" (kind 1), or null.
  PortInterface* createOutputPort(std::int32_t kind, const char* format, void* reserved) override;
  bool releaseOutputPort(PortInterface* port) override;
  /// An input port for a format starting with "UTF8" or "WSTR" (kind 1), or null.
  PortInterface* createInputPort(std::int32_t kind, const char* format, void* reserved) override;
  bool releaseInputPort(PortInterface* port) override;

  // SettingConsumer
  /// Applies one changed setting and, when the style changed, has the worker render the
  /// retained subtitle again. Never reads a setting back from the provider: a changed
  /// "Font"/"Path" waits for the next applySettings (attach, connect or a font arriving).
  void onSettingChanged(const Setting* setting, const PropertyValue* value) override;

 private:
  class Input;
  class Output;

  /// Colours as the renderer takes them: bytes red, green, blue and an ignored fourth.
  struct Colour {
    std::uint8_t red, green, blue, unused;
  };

  /// What became of one attempt to render and send a sample.
  enum class RenderOutcome {
    Delivered,  ///< downstream accepted the image
    Refused,    ///< downstream refused it; a later try may succeed
    Failed,     ///< nothing to send (no text, renderer, buffer or downstream)
  };

  // Worker thread (QuillRasterizerWorker.cpp).
  enum WorkerCommand : std::int32_t { kIdle = 0, kRerender = 1, kExit = 2 };
  void run();
  void requestRerender();
  void stopWorker();
  void rerenderRetained();

  // Ports (QuillRasterizerPorts.cpp).
  bool controlOutput(std::uint32_t code, const PropertyValue* value);
  bool queryReady() const;
  void dropRetained();
  void resetRenderer();
  void setRenderer(std::unique_ptr<TextRendererInterface> replacement);

  // Settings (QuillRasterizerSettings.cpp).
  static Colour colourFrom(std::uint32_t rgb);
  static std::uint32_t packed(Colour colour);
  bool applySettings(bool readOverride);
  bool readSetting(std::int32_t kind, const char* group, const char* name, PropertyValue& value);
  /// Reads "Font"/"Name" and "Font"/"Path"; answers whether a family was configured.
  bool readFontSettings(FontStyle& style, std::string& path);
  std::unique_ptr<TextRendererInterface> createRenderer(const FontStyle& style,
                                                        const std::string& path,
                                                        bool familyConfigured);
  bool applyStyleSetting(const Setting& setting, const PropertyValue& value);
  /// Applies a "Layout" setting to the fields; false for an unknown name or value.
  bool applyLayoutSetting(const SimpleString<char>& name, const PropertyValue& value);
  /// Records the last render's lines in frame pixels, for deliverLines.
  void keepLines(const Placement& placement, std::int64_t frameWidth, std::int64_t frameHeight,
                 const PixelBox& region);
  /// Tells `next` the lines of the image about to be delivered.
  void deliverLines(PortInterface& next);
  bool setFontByName(std::string_view text);
  bool setOverrideEmbeddedFont(bool flag);

  // Sample flow (QuillRasterizerSamples.cpp).
  bool deliverInput(std::uint32_t code, const PropertyValue* value);
  bool deliverSample(MediaBuffer* sample);
  bool takeFont(MediaBuffer& font, const FormatDescriptor* descriptor);
  bool changeFontName(const PropertyValue* value);
  bool changeOverride(const PropertyValue* value);
  bool finishChange(bool changed);
  RenderOutcome renderSample();
  bool decodeAndRender();
  std::string sampleText();
  void updateGeometry();
  /// Whether the frame-size setting left a proper frame for the next render to take.
  bool hasPendingFrame();
  void takePendingFrame();
  static bool allocateBuffer(std::uint32_t width, std::uint32_t height, std::uint32_t planes,
                             std::uint8_t** data, std::size_t* byteLength, std::uint32_t* stride,
                             void* userData);
  bool allocateOutput(std::uint32_t width, std::uint32_t height, std::uint32_t planes,
                      std::uint8_t** data, std::size_t* byteLength, std::uint32_t* stride);

  HandOverMutex componentLock;  // guards everything from `renderer` to `fontBuffer`
  std::unique_ptr<boost::thread> worker;
  boost::condition_variable workerSignal;
  boost::mutex workerMutex;  // guards changes of workerCommand and the wait for them
  // Written only under workerMutex; atomic so that the worker's retry loop may glance at
  // it without the mutex.
  std::atomic<std::int32_t> workerCommand{kIdle};
  bool overrideEmbeddedFont = false;
  bool useFontSettings = true;
  std::unique_ptr<TextRendererInterface> renderer;
  std::atomic<bool> rendererExists{false};  // for QUERY_READY on the output port, lock-free
  std::uint32_t outputFormatIndex = 0;
  Colour textColour{255, 255, 0, 0};
  Colour outlineColour{0, 0, 0, 0};
  bool overrideEmbeddedColour = false;
  LayoutEngine layoutEngine = LayoutEngine::Classic;  // "Layout"/"Engine"
  std::uint32_t alignment = kBottomCentre;            // "Layout"/"Alignment"
  // "Layout"/"Lines": hosts built before the lines message existed never see it.
  bool reportLines = false;
  // The lines of the last render, in frame pixels; the records point into the texts.
  std::vector<std::string> lineTexts;
  std::vector<SubtitleLine> lineRecords;
  // Set by the downstream's control messages, which take no component lock.
  std::atomic<PortInterface*> downstream{nullptr};
  std::unique_ptr<Input> inputPort;
  std::unique_ptr<Output> outputPort;
  std::string inputFormatName;
  std::string outputFormatName;
  boost::mutex pendingFrameMutex;  // the frame-size setting never waits for a render
  RectInt pendingFrame;
  RectInt frame{0, 0, 640, 480};
  SettingsProvider* settingsProvider = nullptr;
  MediaBuffer* currentSample = nullptr;
  ImageBuffer* currentOutput = nullptr;
  bool currentOutputLocked = false;
  MediaBuffer* retainedSample = nullptr;
  PropertyTable properties;
  TypedMediaBuffer fontBuffer;
  CacheDatabase cacheDatabase;
  CacheFaceLookup faceLookup{cacheDatabase};  // what the renderer finds faces through
  std::atomic<BufferAllocator*> allocator{nullptr};
};

}  // namespace Orb
