#pragma once
// quilloverlay: burns timed subtitle text into raw video with the Quill module, which it
// loads and hosts through the SDK like any other host. Pads: video_sink (raw video),
// text_sink (text/x-raw, utf8 or pango-markup) and src (the video with the subtitles,
// blended in or attached as GstVideoOverlayCompositionMeta when downstream takes that).
#include <gst/gst.h>

G_BEGIN_DECLS

#define QUILL_TYPE_OVERLAY (quill_overlay_get_type())
G_DECLARE_FINAL_TYPE(QuillOverlay, quill_overlay, QUILL, OVERLAY, GstElement)

#define QUILL_TYPE_LAYOUT_ENGINE (quill_layout_engine_get_type())
GType quill_layout_engine_get_type(void);

/// Registers "quilloverlay" with `plugin`; the plug-in's init function.
gboolean quill_overlay_plugin_init(GstPlugin* plugin);

G_END_DECLS
