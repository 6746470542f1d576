#include <algorithm>
#include <cstring>

#include "framework/SettingKinds.h"
#include "rasterizer/FamilyList.h"
#include "rasterizer/QuillRasterizer.h"

namespace Orb {

namespace {

constexpr std::uint32_t kCreationPixelSize = 22;

// A string setting's text, or nothing when the value does not hold a string. The tag is
// checked even where only one tag is expected, so that a number is never read as a pointer.
const SimpleString<char>* stringPayload(const PropertyValue& value) {
  if (value.tag != ValueString && value.tag != ValueStringHandedOver) return nullptr;
  return value.payload.string;
}

std::string_view textOf(const SimpleString<char>& text) { return {text.c_str(), text.length()}; }

bool named(const SimpleString<char>& text, const char* expected) { return text.equals(expected); }

// The "Layout"/"Engine" value's engine; false for any other text.
bool engineNamed(const SimpleString<char>& text, LayoutEngine& engine) {
  if (named(text, "classic")) {
    engine = LayoutEngine::Classic;
  } else if (named(text, "full")) {
    engine = LayoutEngine::Full;
  } else {
    return false;
  }
  return true;
}

}  // namespace

QuillRasterizer::Colour QuillRasterizer::colourFrom(std::uint32_t rgb) {
  return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
          static_cast<std::uint8_t>(rgb), 0};
}

std::uint32_t QuillRasterizer::packed(Colour colour) {
  std::uint32_t word = 0;
  std::memcpy(&word, &colour, sizeof word);  // bytes red, green, blue, 0 in memory order
  return word;
}

bool QuillRasterizer::attach(SettingsProvider* provider) {
  if (!provider) return false;
  {
    boost::lock_guard<HandOverMutex> guard(componentLock);
    settingsProvider = provider;
  }
  // The provider calls consumers under its own lock, so it is never called here while the
  // component lock is held.
  provider->addConsumer(this);
  if (applySettings(true)) return true;
  provider->removeConsumer(this);
  boost::lock_guard<HandOverMutex> guard(componentLock);
  settingsProvider = nullptr;
  return false;
}

bool QuillRasterizer::detach() {
  SettingsProvider* provider = nullptr;
  {
    boost::lock_guard<HandOverMutex> guard(componentLock);
    provider = settingsProvider;
    settingsProvider = nullptr;
  }
  if (provider) provider->removeConsumer(this);
  return true;
}

bool QuillRasterizer::readSetting(std::int32_t kind, const char* group, const char* name,
                                  PropertyValue& value) {
  // Without a provider (a connection or a font arriving before attach, or after a failed
  // one) there is nothing to read and the current values stay.
  if (!settingsProvider) return false;
  const Setting setting(kind, group, name);
  value = PropertyValue();
  return settingsProvider->getSetting(&setting, &value);
}

bool QuillRasterizer::readFontSettings(FontStyle& style, std::string& path) {
  PropertyValue value;
  bool familyConfigured = false;
  if (readSetting(SETTING_KIND_STYLE, "Font", "Name", value)) {
    if (const SimpleString<char>* text = stringPayload(value)) {
      FontStyle parsed;
      familyConfigured = parseFontName(textOf(*text), parsed);
      if (familyConfigured) style = parsed;
    }
  }
  if (readSetting(SETTING_KIND_STYLE, "Font", "Path", value)) {
    if (const SimpleString<char>* text = stringPayload(value)) path = text->c_str();
  }
  return familyConfigured;
}

bool QuillRasterizer::applySettings(bool readOverride) {
  boost::lock_guard<HandOverMutex> guard(componentLock);
  setRenderer(nullptr);

  PropertyValue value;
  if (readSetting(SETTING_KIND_FRAMEBUFFER, "framebuffer", "size", value) && value.tag == ValuePointer &&
      value.payload.pointer) {
    std::int32_t size[2];
    std::memcpy(size, value.payload.pointer, sizeof size);
    frame.right = size[0];
    frame.bottom = size[1];
  }
  if (readSetting(SETTING_KIND_STYLE, "Color", "Text", value)) textColour = colourFrom(value.payload.uint32);
  if (readSetting(SETTING_KIND_STYLE, "Color", "TextOutline", value))
    outlineColour = colourFrom(value.payload.uint32);
  if (readSetting(SETTING_KIND_STYLE, "Color", "OverrideEmbedded", value))
    overrideEmbeddedColour = value.isSet();
  if (readOverride && readSetting(SETTING_KIND_STYLE, "Font", "OverrideEmbedded", value))
    overrideEmbeddedFont = value.isSet();
  for (const char* name : {"Engine", "Alignment", "Lines"}) {
    if (readSetting(SETTING_KIND_STYLE, "Layout", name, value)) {
      applyLayoutSetting(SimpleString<char>(name), value);
    }
  }
  if (readSetting(SETTING_KIND_STYLE, "Font", "Fallback", value)) {
    if (const SimpleString<char>* text = stringPayload(value))
      faceLookup.setFallbackFamilies(parseFamilyList(textOf(*text)));
  }

  FontStyle style;
  std::string path;
  const bool familyConfigured = useFontSettings && readFontSettings(style, path);

  std::unique_ptr<TextRendererInterface> made = createRenderer(style, path, familyConfigured);
  if (!made) {
    // A configured font that cannot be had falls back first to the embedded font, then to
    // the default family with no style.
    if (overrideEmbeddedFont) {
      overrideEmbeddedFont = false;
      return applySettings(false);
    }
    if (useFontSettings) {
      useFontSettings = false;
      return applySettings(false);
    }
    return false;
  }
  made->setLayout(layoutEngine, alignment);
  setRenderer(std::move(made));
  updateGeometry();
  return true;
}

std::unique_ptr<TextRendererInterface> QuillRasterizer::createRenderer(const FontStyle& style,
                                                                       const std::string& path,
                                                                       bool familyConfigured) {
  const std::uint32_t fill = packed(textColour);
  const std::uint32_t outline = packed(outlineColour);
  std::unique_ptr<TextRendererInterface> made;

  const bool embeddedAllowed = !overrideEmbeddedFont || style.family.empty();
  if (embeddedAllowed && fontBuffer.length > 0) {
    const std::uint8_t* bytes = fontBuffer.lockData();
    // Never read past the block the host gave, whatever length it claims.
    const std::uint32_t count = std::min(fontBuffer.length, fontBuffer.size);
    if (bytes && count > 0) {
      made = createTextRendererFromMemory(bytes, count, nullptr, kCreationPixelSize, style.bold,
                                          style.italic, style.underline, style.strikeOut,
                                          overrideEmbeddedFont, fill, outline,
                                          overrideEmbeddedColour, &faceLookup);
    }
    fontBuffer.unlockData();
    if (made) return made;
  }
  if (style.family.empty()) return made;
  if (!path.empty()) {
    // A configured font file is used. A configured family selects a face inside it (a
    // family the file does not hold is looked up as usual); without one, the file's own
    // first face is taken rather than the default family's.
    const char* family = familyConfigured ? style.family.c_str() : nullptr;
    made = createTextRendererFromFile(path.c_str(), family, kCreationPixelSize, style.bold,
                                      style.italic, style.underline, style.strikeOut,
                                      overrideEmbeddedFont, fill, outline, overrideEmbeddedColour,
                                      &faceLookup);
    if (made) return made;
  }
  return createTextRenderer(style.family.c_str(), kCreationPixelSize, style.bold, style.italic,
                            style.underline, style.strikeOut, overrideEmbeddedFont, fill, outline,
                            overrideEmbeddedColour, &faceLookup);
}

void QuillRasterizer::onSettingChanged(const Setting* setting, const PropertyValue* value) {
  if (!setting || !value) return;
  if (setting->kind == SETTING_KIND_FRAMEBUFFER) {
    if (named(setting->group, "framebuffer") && named(setting->name, "size") &&
        value->tag == ValuePointer && value->payload.pointer) {
      std::int32_t size[2];
      std::memcpy(size, value->payload.pointer, sizeof size);
      // Taken over by the next render; the setting thread never waits for one.
      boost::lock_guard<boost::mutex> guard(pendingFrameMutex);
      pendingFrame.right = size[0];
      pendingFrame.bottom = size[1];
    }
    return;
  }
  if (setting->kind != SETTING_KIND_STYLE) return;
  bool changed = false;
  {
    boost::lock_guard<HandOverMutex> guard(componentLock);
    // Without a renderer the next applySettings reads every setting anyway.
    if (!renderer) return;
    changed = applyStyleSetting(*setting, *value);
  }
  if (changed) requestRerender();
}

bool QuillRasterizer::applyStyleSetting(const Setting& setting, const PropertyValue& value) {
  if (named(setting.group, "Color")) {
    bool changed = true;
    if (named(setting.name, "Text") && value.tag == ValueUInt32) {
      textColour = colourFrom(value.payload.uint32);
    } else if (named(setting.name, "TextOutline") && value.tag == ValueUInt32) {
      outlineColour = colourFrom(value.payload.uint32);
    } else if (named(setting.name, "OverrideEmbedded") && value.tag == ValueBool) {
      overrideEmbeddedColour = value.isSet();
    } else {
      changed = false;
    }
    renderer->setColours(packed(textColour), packed(outlineColour), overrideEmbeddedColour);
    return changed;
  }
  if (named(setting.group, "Layout")) {
    if (!applyLayoutSetting(setting.name, value)) return false;
    renderer->setLayout(layoutEngine, alignment);
    return true;
  }
  if (!named(setting.group, "Font")) return false;
  if (named(setting.name, "Name") && value.tag == ValueString) {
    const SimpleString<char>* text = value.payload.string;
    return text && setFontByName(textOf(*text));
  }
  if (named(setting.name, "OverrideEmbedded") && value.tag == ValueBool) {
    return setOverrideEmbeddedFont(value.isSet());
  }
  if (named(setting.name, "Fallback") && value.tag == ValueString && value.payload.string) {
    return faceLookup.setFallbackFamilies(parseFamilyList(textOf(*value.payload.string)));
  }
  // A new "Path" needs a renderer made from it, and making one reads the settings back:
  // from inside the provider's own notification, that deadlocks a provider that notifies
  // under its lock. The next applySettings reads it.
  return false;
}

bool QuillRasterizer::applyLayoutSetting(const SimpleString<char>& name, const PropertyValue& value) {
  if (named(name, "Engine")) {
    const SimpleString<char>* text = stringPayload(value);
    return text && engineNamed(*text, layoutEngine);
  }
  if (named(name, "Alignment") && value.tag == ValueUInt32 && isAlignment(value.payload.uint32)) {
    alignment = value.payload.uint32;
    return true;
  }
  if (named(name, "Lines") && value.tag == ValueBool) {
    reportLines = value.isSet();
    return true;
  }
  return false;
}

bool QuillRasterizer::setFontByName(std::string_view text) {
  FontStyle style;
  if (!parseFontName(text, style)) return false;
  renderer->setFont(style.family.c_str(), style.bold, style.italic, style.underline,
                    style.strikeOut, overrideEmbeddedFont);
  return true;
}

bool QuillRasterizer::setOverrideEmbeddedFont(bool flag) {
  overrideEmbeddedFont = flag;
  if (flag) {
    // Only records the override in the renderer's base style; the font stays.
    renderer->setFont(nullptr, false, false, false, false, true);
    return true;
  }
  const std::uint8_t* bytes = fontBuffer.lockData();
  const std::uint32_t count = bytes ? std::min(fontBuffer.length, fontBuffer.size) : 0;
  renderer->setFontFromMemory(bytes, count, nullptr, false, false, false, false, false);
  fontBuffer.unlockData();
  return true;
}

}  // namespace Orb
