// The GStreamer plug-in "quill", holding the element quilloverlay.
#include "gstreamer/QuillOverlay.h"

GST_PLUGIN_DEFINE(GST_VERSION_MAJOR, GST_VERSION_MINOR, quill,
                  "Subtitle overlay drawn by the Quill text-subtitle rasteriser",
                  quill_overlay_plugin_init, QUILL_VERSION, "Proprietary", "quill", "Quill")
