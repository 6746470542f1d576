#include "gstreamer/QuillOverlay.h"

#include <gst/video/video.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "gstreamer/ComponentHost.h"
#include "gstreamer/DefaultModulePath.h"
#include "gstreamer/QuillMarkup.h"

GST_DEBUG_CATEGORY_STATIC(quill_overlay_debug);
#define GST_CAT_DEFAULT quill_overlay_debug

namespace {

using QuillGst::ComponentHost;
using QuillGst::OverlayStyle;

enum Property {
  PROP_0,
  PROP_FONT,
  PROP_TEXT_COLOR,
  PROP_OUTLINE_COLOR,
  PROP_OVERRIDE_COLORS,
  PROP_OVERRIDE_FONTS,
  PROP_LAYOUT_ENGINE,
  PROP_ALIGNMENT,
  PROP_MODULE,
};

enum LayoutEngine { LAYOUT_CLASSIC, LAYOUT_FULL };

// What the pads' streaming threads and the application share; everything under `lock`.
// Lock order: `lock`, then the component's own locks; nothing the component calls takes
// `lock`.
struct OverlayState {
  std::mutex lock;
  // Signalled when a subtitle arrives or goes, and when a pad flushes or ends.
  std::condition_variable changed;

  OverlayStyle style;
  LayoutEngine engine = LAYOUT_CLASSIC;
  std::string modulePath = QuillGst::defaultModulePath();
  std::unique_ptr<ComponentHost> host;  // from READY to PAUSED until back to READY

  GstVideoInfo video{};
  bool videoKnown = false;
  bool attachMeta = false;  // downstream takes the overlay as meta, else it is blended in
  GstSegment videoSegment{};
  GstSegment textSegment{};
  bool videoFlushing = false;
  bool videoEnded = false;
  bool textFlushing = false;
  bool textEnded = false;
  bool pangoMarkup = false;  // the text caps' format
  bool untimedVideoWarned = false;  // once a stream: such frames may come one after another

  GstBuffer* text = nullptr;      // the subtitle waiting or shown; owned
  std::uint32_t subtitle = 0;     // its tag on the component's images
  bool rendered = false;          // drawn at the current video size
  GstVideoOverlayComposition* overlay = nullptr;  // its image; owned, null when none
  std::uint64_t overlaySerial = 0;
};

}  // namespace

struct _QuillOverlay {
  GstElement parent;
  GstPad* videoSink;
  GstPad* textSink;
  GstPad* src;
  OverlayState* state;  // owned
};

G_DEFINE_TYPE(QuillOverlay, quill_overlay, GST_TYPE_ELEMENT)

GType quill_layout_engine_get_type(void) {
  static GType type = 0;
  if (g_once_init_enter(&type)) {
    static const GEnumValue values[] = {
        {LAYOUT_CLASSIC, "The classic text engine", "classic"},
        {LAYOUT_FULL, "The full layout engine (shaping, bidirectional text, line breaking)",
         "full"},
        {0, nullptr, nullptr}};
    g_once_init_leave(&type, g_enum_register_static("QuillLayoutEngine", values));
  }
  return type;
}

namespace {

#define QUILL_BLEND_CAPS GST_VIDEO_CAPS_MAKE(GST_VIDEO_OVERLAY_COMPOSITION_BLEND_FORMATS)

// Video of no size is taken in so that it can be refused with a message, not just as
// caps that match nothing.
GstStaticPadTemplate videoSinkTemplate = GST_STATIC_PAD_TEMPLATE(
    "video_sink", GST_PAD_SINK, GST_PAD_ALWAYS,
    GST_STATIC_CAPS("video/x-raw, format = (string) " GST_VIDEO_OVERLAY_COMPOSITION_BLEND_FORMATS
                    ", width = (int) [ 0, max ], height = (int) [ 0, max ], "
                    "framerate = (fraction) [ 0, max ]"));
GstStaticPadTemplate textSinkTemplate =
    GST_STATIC_PAD_TEMPLATE("text_sink", GST_PAD_SINK, GST_PAD_ALWAYS,
                            GST_STATIC_CAPS("text/x-raw, format = (string) { utf8, pango-markup }"));
GstStaticPadTemplate srcTemplate = GST_STATIC_PAD_TEMPLATE(
    "src", GST_PAD_SRC, GST_PAD_ALWAYS,
    GST_STATIC_CAPS(GST_VIDEO_CAPS_MAKE_WITH_FEATURES(
        GST_CAPS_FEATURE_META_GST_VIDEO_OVERLAY_COMPOSITION,
        GST_VIDEO_OVERLAY_COMPOSITION_BLEND_FORMATS) ";" QUILL_BLEND_CAPS));

OverlayState& stateOf(GstObject* parent) { return *QUILL_OVERLAY(parent)->state; }

// --- subtitles ----------------------------------------------------------------------

void dropOverlay(OverlayState& s) {
  if (s.overlay) gst_video_overlay_composition_unref(s.overlay);
  s.overlay = nullptr;
}

// Forgets the subtitle: it ended, was replaced or flushed away.
void dropText(OverlayState& s) {
  if (s.text) gst_buffer_unref(s.text);
  s.text = nullptr;
  s.rendered = false;
  dropOverlay(s);
  s.changed.notify_all();
}

// The subtitle's text in the component's markup. Bytes that are not UTF-8 are shown as
// U+FFFD; `invalid` says so, for a warning posted once the lock is released.
std::string markupOf(const OverlayState& s, bool& invalid) {
  GstMapInfo map;
  if (!gst_buffer_map(s.text, &map, GST_MAP_READ)) return {};
  std::string text(reinterpret_cast<const char*>(map.data), map.size);
  gst_buffer_unmap(s.text, &map);
  text.resize(std::char_traits<char>::length(text.c_str()));  // a 0 byte ends the text
  invalid = !g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr);
  if (invalid) {
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    text = valid;
    g_free(valid);
  }
  return s.pangoMarkup ? QuillGst::quillMarkupFromPango(text)
                       : QuillGst::quillMarkupFromPlainText(text);
}

// The overlay of the subtitle shown now (a reference, or null when it draws nothing):
// drawn when the subtitle or the video size is new, replaced when the component drew it
// again in a new style.
GstVideoOverlayComposition* currentOverlay(OverlayState& s, bool& invalidText) {
  if (!s.host) return nullptr;
  if (!s.rendered) {
    s.rendered = true;
    dropOverlay(s);
    s.host->render(markupOf(s, invalidText), s.subtitle);
  }
  const QuillGst::TaggedOverlay newer = s.host->port().newerThan(s.subtitle, s.overlaySerial);
  if (newer.serial != 0) {
    dropOverlay(s);
    s.overlay = newer.composition;
    s.overlaySerial = newer.serial;
  }
  return s.overlay ? gst_video_overlay_composition_ref(s.overlay) : nullptr;
}

// Subtitles and frames are matched by their position in the media (stream time), not by
// running time: after a flushing seek, subparse may send its text with the segment of the
// previous position (it restarts reading before it updates its segment), which would put
// every subtitle of that run at the wrong running time, while their stream times stay
// right. Time without a time segment is taken as it is.
GstClockTime mediaTime(const GstSegment& segment, GstClockTime time) {
  if (segment.format != GST_FORMAT_TIME) return time;
  return gst_segment_to_stream_time(&segment, GST_FORMAT_TIME, time);
}

// Whether a frame starting at media time `frameStart` must wait for the text stream to
// say what is shown then: the text pad is linked and the text has not gone past it yet.
bool mustWaitForText(QuillOverlay* self, const OverlayState& s, GstClockTime frameStart) {
  if (s.textEnded || s.videoFlushing || !gst_pad_is_linked(self->textSink)) return false;
  if (s.textSegment.format != GST_FORMAT_TIME) return true;
  const GstClockTime textAt = mediaTime(s.textSegment, s.textSegment.position);
  return !GST_CLOCK_TIME_IS_VALID(textAt) || textAt <= frameStart;
}

// --- video --------------------------------------------------------------------------

GstBuffer* applyOverlay(QuillOverlay* self, GstBuffer* buffer,
                        GstVideoOverlayComposition* overlay, bool attachMeta,
                        const GstVideoInfo& info) {
  buffer = gst_buffer_make_writable(buffer);
  if (attachMeta) {
    gst_buffer_add_video_overlay_composition_meta(buffer, overlay);
  } else {
    GstVideoFrame frame;
    if (gst_video_frame_map(&frame, &info, buffer, GST_MAP_READWRITE)) {
      gst_video_overlay_composition_blend(overlay, &frame);
      gst_video_frame_unmap(&frame);
    } else {
      GST_ELEMENT_WARNING(self, STREAM, FAILED, ("A video frame could not be written to."),
                          ("frame at %" GST_TIME_FORMAT " shown without its subtitle",
                           GST_TIME_ARGS(GST_BUFFER_PTS(buffer))));
    }
  }
  gst_video_overlay_composition_unref(overlay);
  return buffer;
}

GstFlowReturn videoChain(GstPad*, GstObject* parent, GstBuffer* buffer) {
  QuillOverlay* self = QUILL_OVERLAY(parent);
  OverlayState& s = stateOf(parent);
  const GstClockTime start = GST_BUFFER_PTS(buffer);
  const GstClockTime stop = GST_BUFFER_DURATION_IS_VALID(buffer) && GST_CLOCK_TIME_IS_VALID(start)
                                ? start + GST_BUFFER_DURATION(buffer)
                                : GST_CLOCK_TIME_NONE;
  GstVideoOverlayComposition* overlay = nullptr;
  bool invalidText = false;
  bool attachMeta = false;
  GstVideoInfo info;
  {
    std::unique_lock<std::mutex> lock(s.lock);
    if (!s.videoKnown) {
      lock.unlock();
      gst_buffer_unref(buffer);
      GST_ELEMENT_ERROR(self, CORE, NEGOTIATION, ("Video arrived before its format."), (nullptr));
      return GST_FLOW_NOT_NEGOTIATED;
    }
    // A frame without a time, or outside a time segment, cannot be matched to subtitles.
    if (!GST_CLOCK_TIME_IS_VALID(start) || s.videoSegment.format != GST_FORMAT_TIME) {
      const bool warn = !s.untimedVideoWarned && gst_pad_is_linked(self->textSink);
      s.untimedVideoWarned = s.untimedVideoWarned || warn;
      lock.unlock();
      if (warn) {
        GST_ELEMENT_WARNING(self, STREAM, FORMAT,
                            ("A video frame without a time was shown without subtitles."),
                            ("video buffers need a presentation timestamp in a time segment; "
                             "told once a stream"));
      }
      return gst_pad_push(self->src, buffer);
    }
    guint64 clipStart = 0, clipStop = 0;
    if (!gst_segment_clip(&s.videoSegment, GST_FORMAT_TIME, start, stop, &clipStart, &clipStop)) {
      lock.unlock();
      gst_buffer_unref(buffer);
      return GST_FLOW_OK;
    }
    s.videoSegment.position = clipStart;
    const GstClockTime frameStart = mediaTime(s.videoSegment, clipStart);
    const GstClockTime frameStop =
        GST_CLOCK_TIME_IS_VALID(clipStop) ? mediaTime(s.videoSegment, clipStop) : frameStart;
    while (true) {
      if (s.videoFlushing) {
        lock.unlock();
        gst_buffer_unref(buffer);
        return GST_FLOW_FLUSHING;
      }
      if (s.text) {
        const GstClockTime textStart = mediaTime(s.textSegment, GST_BUFFER_PTS(s.text));
        const GstClockTime textStop =
            GST_BUFFER_DURATION_IS_VALID(s.text)
                ? mediaTime(s.textSegment, GST_BUFFER_PTS(s.text) + GST_BUFFER_DURATION(s.text))
                : GST_CLOCK_TIME_NONE;
        if (GST_CLOCK_TIME_IS_VALID(textStop) && frameStart >= textStop) {
          dropText(s);  // over: the next one may come in
          continue;
        }
        const bool begun = frameStop > frameStart ? textStart < frameStop : textStart <= frameStart;
        if (begun) overlay = currentOverlay(s, invalidText);
        break;
      }
      if (!mustWaitForText(self, s, frameStart)) break;
      s.changed.wait(lock);
    }
    attachMeta = s.attachMeta;
    info = s.video;
  }
  if (invalidText) {
    GST_ELEMENT_WARNING(self, STREAM, DECODE, ("A subtitle is not valid UTF-8 text."),
                        ("its invalid bytes are shown as U+FFFD"));
  }
  if (overlay) buffer = applyOverlay(self, buffer, overlay, attachMeta, info);
  return gst_pad_push(self->src, buffer);
}

// Caps as `caps` but with the overlay-composition meta feature.
GstCaps* withOverlayMeta(GstCaps* caps) {
  GstCaps* result = gst_caps_copy(caps);
  for (guint i = 0; i < gst_caps_get_size(result); ++i) {
    GstCapsFeatures* features = gst_caps_features_new(GST_CAPS_FEATURE_META_GST_VIDEO_OVERLAY_COMPOSITION, nullptr);
    gst_caps_set_features(result, i, features);
  }
  return result;
}

// Plain system-memory caps from `caps`, whatever features they carried.
GstCaps* withoutFeatures(GstCaps* caps) {
  GstCaps* result = gst_caps_new_empty();
  for (guint i = 0; i < gst_caps_get_size(caps); ++i) {
    result = gst_caps_merge_structure(result, gst_structure_copy(gst_caps_get_structure(caps, i)));
  }
  return result;
}

// Tells downstream the format: with the overlay as meta when it can take that, else plain
// (the overlay is then blended into the frames). Answers whether downstream took it and
// how the overlay goes.
bool negotiate(QuillOverlay* self, GstCaps* caps, bool& attachMeta) {
  attachMeta = false;
  GstCaps* metaCaps = withOverlayMeta(caps);
  if (gst_pad_peer_query_accept_caps(self->src, metaCaps)) {
    GstQuery* allocation = gst_query_new_allocation(metaCaps, FALSE);
    attachMeta = gst_pad_peer_query(self->src, allocation) &&
                 gst_query_find_allocation_meta(allocation, GST_VIDEO_OVERLAY_COMPOSITION_META_API_TYPE,
                                                nullptr);
    gst_query_unref(allocation);
  }
  const bool taken = gst_pad_push_event(self->src, gst_event_new_caps(attachMeta ? metaCaps : caps));
  gst_caps_unref(metaCaps);
  return taken;
}

gboolean videoCaps(QuillOverlay* self, GstCaps* caps) {
  GstVideoInfo info;
  if (!gst_video_info_from_caps(&info, caps) || GST_VIDEO_INFO_WIDTH(&info) <= 0 ||
      GST_VIDEO_INFO_HEIGHT(&info) <= 0) {
    gchar* described = gst_caps_to_string(caps);
    GST_ELEMENT_ERROR(self, STREAM, FORMAT, ("The video has no picture to draw subtitles on."),
                      ("video caps %s", described));
    g_free(described);
    return FALSE;
  }
  bool attachMeta = false;
  if (!negotiate(self, caps, attachMeta)) return FALSE;
  OverlayState& s = *self->state;
  std::lock_guard<std::mutex> guard(s.lock);
  const bool resized = !s.videoKnown || GST_VIDEO_INFO_WIDTH(&info) != GST_VIDEO_INFO_WIDTH(&s.video) ||
                       GST_VIDEO_INFO_HEIGHT(&info) != GST_VIDEO_INFO_HEIGHT(&s.video);
  s.video = info;
  s.videoKnown = true;
  s.attachMeta = attachMeta;
  if (resized && s.host) {
    s.host->setFrameSize(GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info));
    s.rendered = false;  // drawn again for the new size
  }
  return TRUE;
}

gboolean videoEvent(GstPad* pad, GstObject* parent, GstEvent* event) {
  QuillOverlay* self = QUILL_OVERLAY(parent);
  OverlayState& s = stateOf(parent);
  GST_DEBUG_OBJECT(pad, "%s", GST_EVENT_TYPE_NAME(event));
  switch (GST_EVENT_TYPE(event)) {
    case GST_EVENT_CAPS: {
      GstCaps* caps = nullptr;
      gst_event_parse_caps(event, &caps);
      const gboolean taken = videoCaps(self, caps);
      gst_event_unref(event);
      return taken;
    }
    case GST_EVENT_SEGMENT: {
      const GstSegment* segment = nullptr;
      gst_event_parse_segment(event, &segment);
      std::lock_guard<std::mutex> guard(s.lock);
      gst_segment_copy_into(segment, &s.videoSegment);
      break;
    }
    case GST_EVENT_FLUSH_START: {
      std::lock_guard<std::mutex> guard(s.lock);
      s.videoFlushing = true;
      s.changed.notify_all();
      break;
    }
    case GST_EVENT_FLUSH_STOP: {
      std::lock_guard<std::mutex> guard(s.lock);
      s.videoFlushing = false;
      s.videoEnded = false;
      s.untimedVideoWarned = false;
      gst_segment_init(&s.videoSegment, GST_FORMAT_TIME);
      break;
    }
    case GST_EVENT_EOS: {
      std::lock_guard<std::mutex> guard(s.lock);
      s.videoEnded = true;
      s.changed.notify_all();
      break;
    }
    default:
      break;
  }
  return gst_pad_event_default(pad, parent, event);
}

// --- text ---------------------------------------------------------------------------

GstFlowReturn textChain(GstPad*, GstObject* parent, GstBuffer* buffer) {
  QuillOverlay* self = QUILL_OVERLAY(parent);
  OverlayState& s = stateOf(parent);
  std::unique_lock<std::mutex> lock(s.lock);
  if (s.textFlushing) {
    lock.unlock();
    gst_buffer_unref(buffer);
    return GST_FLOW_FLUSHING;
  }
  if (s.textEnded) {
    lock.unlock();
    gst_buffer_unref(buffer);
    return GST_FLOW_EOS;
  }
  const GstClockTime start = GST_BUFFER_PTS(buffer);
  if (!GST_CLOCK_TIME_IS_VALID(start)) {
    lock.unlock();
    gst_buffer_unref(buffer);
    GST_ELEMENT_WARNING(self, STREAM, FORMAT, ("A subtitle without a time was dropped."),
                        ("text buffers need a presentation timestamp"));
    return GST_FLOW_OK;
  }
  const GstClockTime stop =
      GST_BUFFER_DURATION_IS_VALID(buffer) ? start + GST_BUFFER_DURATION(buffer) : GST_CLOCK_TIME_NONE;
  guint64 clipStart = start, clipStop = stop;
  if (s.textSegment.format == GST_FORMAT_TIME &&
      !gst_segment_clip(&s.textSegment, GST_FORMAT_TIME, start, stop, &clipStart, &clipStop)) {
    lock.unlock();
    gst_buffer_unref(buffer);
    return GST_FLOW_OK;
  }
  // One subtitle at a time: the next waits until the video has gone past this one. A
  // subtitle without a duration lasts until the next one replaces it.
  while (s.text && GST_BUFFER_DURATION_IS_VALID(s.text) && !s.textFlushing && !s.videoEnded) {
    s.changed.wait(lock);
  }
  if (s.textFlushing) {
    lock.unlock();
    gst_buffer_unref(buffer);
    return GST_FLOW_FLUSHING;
  }
  GST_DEBUG_OBJECT(self, "subtitle from %" GST_TIME_FORMAT " to %" GST_TIME_FORMAT,
                   GST_TIME_ARGS(clipStart), GST_TIME_ARGS(clipStop));
  dropText(s);
  buffer = gst_buffer_make_writable(buffer);
  GST_BUFFER_PTS(buffer) = clipStart;
  GST_BUFFER_DURATION(buffer) =
      GST_CLOCK_TIME_IS_VALID(clipStop) ? clipStop - clipStart : GST_CLOCK_TIME_NONE;
  s.text = buffer;
  s.subtitle = s.subtitle == G_MAXUINT32 ? 1 : s.subtitle + 1;
  if (s.textSegment.format == GST_FORMAT_TIME) s.textSegment.position = clipStart;
  s.changed.notify_all();
  return GST_FLOW_OK;
}

gboolean textEvent(GstPad* pad, GstObject* parent, GstEvent* event) {
  OverlayState& s = stateOf(parent);
  GST_DEBUG_OBJECT(pad, "%s", GST_EVENT_TYPE_NAME(event));
  {
    std::lock_guard<std::mutex> guard(s.lock);
    switch (GST_EVENT_TYPE(event)) {
      case GST_EVENT_CAPS: {
        GstCaps* caps = nullptr;
        gst_event_parse_caps(event, &caps);
        const gchar* format = gst_structure_get_string(gst_caps_get_structure(caps, 0), "format");
        s.pangoMarkup = g_strcmp0(format, "pango-markup") == 0;
        break;
      }
      case GST_EVENT_SEGMENT: {
        const GstSegment* segment = nullptr;
        gst_event_parse_segment(event, &segment);
        gst_segment_copy_into(segment, &s.textSegment);
        s.changed.notify_all();
        break;
      }
      case GST_EVENT_GAP: {
        // Nothing to show until the gap's end: frames before it need not wait.
        GstClockTime at = GST_CLOCK_TIME_NONE, duration = GST_CLOCK_TIME_NONE;
        gst_event_parse_gap(event, &at, &duration);
        if (s.textSegment.format == GST_FORMAT_TIME && GST_CLOCK_TIME_IS_VALID(at)) {
          s.textSegment.position = GST_CLOCK_TIME_IS_VALID(duration) ? at + duration : at;
        }
        s.changed.notify_all();
        break;
      }
      case GST_EVENT_FLUSH_START:
        s.textFlushing = true;
        dropText(s);
        break;
      case GST_EVENT_FLUSH_STOP:
        s.textFlushing = false;
        s.textEnded = false;
        gst_segment_init(&s.textSegment, GST_FORMAT_TIME);
        if (s.host) s.host->flush();
        s.changed.notify_all();
        break;
      case GST_EVENT_EOS:
        s.textEnded = true;
        s.changed.notify_all();
        break;
      default:
        break;
    }
  }
  // The text stream's events end here: downstream sees the video stream's alone.
  gst_event_unref(event);
  return TRUE;
}

// --- seeking ------------------------------------------------------------------------

// A flushing seek restarts both streams. Until the text stream has restarted too, the
// subtitle held is stale and frames of the new position must wait for the new one; the
// video stream, restarting first, would otherwise pass them by without it.
gboolean srcEvent(GstPad* pad, GstObject* parent, GstEvent* event) {
  if (GST_EVENT_TYPE(event) != GST_EVENT_SEEK) return gst_pad_event_default(pad, parent, event);
  QuillOverlay* self = QUILL_OVERLAY(parent);
  OverlayState& s = *self->state;
  GstSeekFlags flags = GST_SEEK_FLAG_NONE;
  gst_event_parse_seek(event, nullptr, nullptr, &flags, nullptr, nullptr, nullptr, nullptr);
  const bool textSeeks = gst_pad_is_linked(self->textSink) && (flags & GST_SEEK_FLAG_FLUSH);
  if (textSeeks) {
    std::lock_guard<std::mutex> guard(s.lock);
    s.textFlushing = true;
    s.textEnded = false;
    gst_segment_init(&s.textSegment, GST_FORMAT_UNDEFINED);  // where the text is: unknown
    dropText(s);
  }
  const gboolean videoSought = gst_pad_push_event(self->videoSink, gst_event_ref(event));
  const gboolean textSought =
      gst_pad_is_linked(self->textSink) && gst_pad_push_event(self->textSink, gst_event_ref(event));
  gst_event_unref(event);
  if (textSeeks && !textSought) {
    // The text stream stays where it was: nothing of it will restart.
    std::lock_guard<std::mutex> guard(s.lock);
    s.textFlushing = false;
    s.changed.notify_all();
  }
  return videoSought;
}

// --- caps queries -------------------------------------------------------------------

// Intersects `caps` (taken) with the query's filter and answers the query with them.
gboolean answerCaps(GstQuery* query, GstCaps* caps) {
  GstCaps* filter = nullptr;
  gst_query_parse_caps(query, &filter);
  if (filter) {
    GstCaps* filtered = gst_caps_intersect_full(filter, caps, GST_CAPS_INTERSECT_FIRST);
    gst_caps_unref(caps);
    caps = filtered;
  }
  gst_query_set_caps_result(query, caps);
  gst_caps_unref(caps);
  return TRUE;
}

// What the far side of `throughPad` takes, seen from this side as `ownPad` offers it:
// the other pad's peer caps, turned by `turn`, within `ownPad`'s template.
gboolean answerThrough(GstPad* ownPad, GstPad* throughPad, GstCaps* (*turn)(GstCaps*),
                       GstQuery* query) {
  GstCaps* templ = gst_pad_get_pad_template_caps(ownPad);
  GstCaps* peer = gst_pad_peer_query_caps(throughPad, nullptr);
  GstCaps* result = nullptr;
  if (gst_caps_is_any(peer)) {
    result = gst_caps_ref(templ);
  } else {
    GstCaps* turned = turn(peer);
    result = gst_caps_intersect(turned, templ);
    gst_caps_unref(turned);
  }
  gst_caps_unref(peer);
  gst_caps_unref(templ);
  return answerCaps(query, result);
}

GstCaps* withAndWithoutOverlayMeta(GstCaps* caps) {
  GstCaps* plain = withoutFeatures(caps);
  GstCaps* result = withOverlayMeta(plain);
  return gst_caps_merge(result, plain);
}

gboolean videoSinkQuery(GstPad* pad, GstObject* parent, GstQuery* query) {
  if (GST_QUERY_TYPE(query) == GST_QUERY_CAPS) {
    return answerThrough(pad, QUILL_OVERLAY(parent)->src, withoutFeatures, query);
  }
  return gst_pad_query_default(pad, parent, query);
}

gboolean srcQuery(GstPad* pad, GstObject* parent, GstQuery* query) {
  if (GST_QUERY_TYPE(query) == GST_QUERY_CAPS) {
    return answerThrough(pad, QUILL_OVERLAY(parent)->videoSink, withAndWithoutOverlayMeta, query);
  }
  return gst_pad_query_default(pad, parent, query);
}

// --- element ------------------------------------------------------------------------

GstStateChangeReturn changeState(GstElement* element, GstStateChange transition) {
  QuillOverlay* self = QUILL_OVERLAY(element);
  OverlayState& s = *self->state;
  if (transition == GST_STATE_CHANGE_READY_TO_PAUSED) {
    std::string path;
    OverlayStyle style;
    {
      std::lock_guard<std::mutex> guard(s.lock);
      path = s.modulePath;
      style = s.style;
    }
    std::string error;
    std::unique_ptr<ComponentHost> host = ComponentHost::start(path, style, error);
    if (!host) {
      GST_ELEMENT_ERROR(self, LIBRARY, INIT, ("The Quill component could not be started."),
                        ("%s", error.c_str()));
      return GST_STATE_CHANGE_FAILURE;
    }
    std::lock_guard<std::mutex> guard(s.lock);
    s.host = std::move(host);
    s.overlaySerial = 0;  // a new component's port counts its images from 1 again
    s.videoKnown = false;
    s.videoFlushing = s.videoEnded = s.textFlushing = s.textEnded = false;
    s.untimedVideoWarned = false;
    gst_segment_init(&s.videoSegment, GST_FORMAT_UNDEFINED);
    gst_segment_init(&s.textSegment, GST_FORMAT_UNDEFINED);
  } else if (transition == GST_STATE_CHANGE_PAUSED_TO_READY) {
    // Free the streaming threads waiting in this element so that the pads can stop.
    std::lock_guard<std::mutex> guard(s.lock);
    s.videoFlushing = s.textFlushing = true;
    s.changed.notify_all();
  }
  const GstStateChangeReturn result =
      GST_ELEMENT_CLASS(quill_overlay_parent_class)->change_state(element, transition);
  if (transition == GST_STATE_CHANGE_PAUSED_TO_READY) {
    std::unique_ptr<ComponentHost> host;
    {
      std::lock_guard<std::mutex> guard(s.lock);
      dropText(s);
      host = std::move(s.host);
    }
  }
  return result;
}

const gchar* engineName(LayoutEngine engine) { return engine == LAYOUT_FULL ? "full" : "classic"; }

void setProperty(GObject* object, guint id, const GValue* value, GParamSpec* pspec) {
  OverlayState& s = *QUILL_OVERLAY(object)->state;
  std::lock_guard<std::mutex> guard(s.lock);
  switch (id) {
    case PROP_FONT: {
      const gchar* font = g_value_get_string(value);
      s.style.font = font ? font : "";
      break;
    }
    case PROP_TEXT_COLOR: s.style.textColour = g_value_get_uint(value); break;
    case PROP_OUTLINE_COLOR: s.style.outlineColour = g_value_get_uint(value); break;
    case PROP_OVERRIDE_COLORS: s.style.overrideColours = g_value_get_boolean(value); break;
    case PROP_OVERRIDE_FONTS: s.style.overrideFonts = g_value_get_boolean(value); break;
    case PROP_LAYOUT_ENGINE:
      s.engine = static_cast<LayoutEngine>(g_value_get_enum(value));
      s.style.engine = engineName(s.engine);
      break;
    case PROP_ALIGNMENT: s.style.alignment = g_value_get_uint(value); break;
    case PROP_MODULE: {
      const gchar* path = g_value_get_string(value);
      s.modulePath = path && *path ? path : QuillGst::defaultModulePath();
      return;
    }
    default:
      G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, pspec);
      return;
  }
  if (s.host) s.host->setStyle(s.style);  // the component draws the shown subtitle again
}

void getProperty(GObject* object, guint id, GValue* value, GParamSpec* pspec) {
  OverlayState& s = *QUILL_OVERLAY(object)->state;
  std::lock_guard<std::mutex> guard(s.lock);
  switch (id) {
    case PROP_FONT: g_value_set_string(value, s.style.font.c_str()); break;
    case PROP_TEXT_COLOR: g_value_set_uint(value, s.style.textColour); break;
    case PROP_OUTLINE_COLOR: g_value_set_uint(value, s.style.outlineColour); break;
    case PROP_OVERRIDE_COLORS: g_value_set_boolean(value, s.style.overrideColours); break;
    case PROP_OVERRIDE_FONTS: g_value_set_boolean(value, s.style.overrideFonts); break;
    case PROP_LAYOUT_ENGINE: g_value_set_enum(value, s.engine); break;
    case PROP_ALIGNMENT: g_value_set_uint(value, s.style.alignment); break;
    case PROP_MODULE: g_value_set_string(value, s.modulePath.c_str()); break;
    default: G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, pspec); break;
  }
}

void finalize(GObject* object) {
  QuillOverlay* self = QUILL_OVERLAY(object);
  dropText(*self->state);
  delete self->state;
  G_OBJECT_CLASS(quill_overlay_parent_class)->finalize(object);
}

constexpr GParamFlags kStyleFlags =
    static_cast<GParamFlags>(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS | GST_PARAM_MUTABLE_PLAYING);

void installProperties(GObjectClass* objects) {
  const OverlayStyle defaults;
  g_object_class_install_property(objects, PROP_FONT,
      g_param_spec_string("font", "Font", "The \"Font\"/\"Name\" setting: "
                          "\"Family:0:Bold:Italic:Underline:StrikeOut\", empty fields leave a style off",
                          defaults.font.c_str(), kStyleFlags));
  g_object_class_install_property(objects, PROP_TEXT_COLOR,
      g_param_spec_uint("text-color", "Text colour", "Colour of the text, 0xRRGGBB", 0, 0xFFFFFF,
                        defaults.textColour, kStyleFlags));
  g_object_class_install_property(objects, PROP_OUTLINE_COLOR,
      g_param_spec_uint("outline-color", "Outline colour", "Colour of the text's outline, 0xRRGGBB",
                        0, 0xFFFFFF, defaults.outlineColour, kStyleFlags));
  g_object_class_install_property(objects, PROP_OVERRIDE_COLORS,
      g_param_spec_boolean("override-colors", "Override colours",
                           "Ignore the colours the subtitles' markup asks for",
                           defaults.overrideColours, kStyleFlags));
  g_object_class_install_property(objects, PROP_OVERRIDE_FONTS,
      g_param_spec_boolean("override-fonts", "Override fonts",
                           "Ignore the faces and sizes the subtitles' markup asks for",
                           defaults.overrideFonts, kStyleFlags));
  g_object_class_install_property(objects, PROP_LAYOUT_ENGINE,
      g_param_spec_enum("layout-engine", "Layout engine",
                        "The \"Layout\"/\"Engine\" setting, for modules that have the full engine",
                        QUILL_TYPE_LAYOUT_ENGINE, LAYOUT_CLASSIC, kStyleFlags));
  g_object_class_install_property(objects, PROP_ALIGNMENT,
      g_param_spec_uint("alignment", "Alignment",
                        "The \"Layout\"/\"Alignment\" setting, 1 to 9 as on a numeric keypad "
                        "(2: bottom centre), for modules that have the full engine",
                        1, 9, defaults.alignment, kStyleFlags));
  g_object_class_install_property(objects, PROP_MODULE,
      g_param_spec_string("module", "Module",
                          "Path of the Quill plug-in module (unset or empty: the installed one)",
                          nullptr,
                          static_cast<GParamFlags>(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS |
                                                   GST_PARAM_MUTABLE_READY)));
}

}  // namespace

static void quill_overlay_class_init(QuillOverlayClass* klass) {
  GObjectClass* objects = G_OBJECT_CLASS(klass);
  GstElementClass* elements = GST_ELEMENT_CLASS(klass);
  objects->set_property = setProperty;
  objects->get_property = getProperty;
  objects->finalize = finalize;
  installProperties(objects);
  elements->change_state = changeState;
  gst_element_class_add_static_pad_template(elements, &videoSinkTemplate);
  gst_element_class_add_static_pad_template(elements, &textSinkTemplate);
  gst_element_class_add_static_pad_template(elements, &srcTemplate);
  gst_element_class_set_static_metadata(
      elements, "Quill subtitle overlay", "Filter/Editor/Video/Overlay/Subtitle",
      "Draws timed subtitle text over video with the Quill text-subtitle rasteriser", "Quill");
  gst_type_mark_as_plugin_api(QUILL_TYPE_LAYOUT_ENGINE, static_cast<GstPluginAPIFlags>(0));
}

static void quill_overlay_init(QuillOverlay* self) {
  self->state = new OverlayState();
  self->videoSink = gst_pad_new_from_static_template(&videoSinkTemplate, "video_sink");
  gst_pad_set_chain_function(self->videoSink, videoChain);
  gst_pad_set_event_function(self->videoSink, videoEvent);
  gst_pad_set_query_function(self->videoSink, videoSinkQuery);
  GST_PAD_SET_PROXY_ALLOCATION(self->videoSink);
  gst_element_add_pad(GST_ELEMENT(self), self->videoSink);

  self->textSink = gst_pad_new_from_static_template(&textSinkTemplate, "text_sink");
  gst_pad_set_chain_function(self->textSink, textChain);
  gst_pad_set_event_function(self->textSink, textEvent);
  gst_element_add_pad(GST_ELEMENT(self), self->textSink);

  self->src = gst_pad_new_from_static_template(&srcTemplate, "src");
  gst_pad_set_query_function(self->src, srcQuery);
  gst_pad_set_event_function(self->src, srcEvent);
  gst_element_add_pad(GST_ELEMENT(self), self->src);
}

gboolean quill_overlay_plugin_init(GstPlugin* plugin) {
  GST_DEBUG_CATEGORY_INIT(quill_overlay_debug, "quilloverlay", 0, "Quill subtitle overlay");
  return gst_element_register(plugin, "quilloverlay", GST_RANK_NONE, QUILL_TYPE_OVERLAY);
}
