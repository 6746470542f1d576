# cpack -G DEB builds the Debian package; unpacked into a scratch root, its quill-render
# finds the module beside it and renders a subtitle.
include(${CMAKE_CURRENT_LIST_DIR}/InstalledTree.cmake)

file(REMOVE_RECURSE "${WORK}")
run_checked("cpack" ${CPACK} -G DEB --config "${BUILD}/CPackConfig.cmake" -B "${WORK}/package")
file(GLOB packages "${WORK}/package/*.deb")
list(LENGTH packages count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "cpack made ${count} Debian packages in ${WORK}/package, not one")
endif()

execute_process(COMMAND dpkg-deb --field ${packages} Depends OUTPUT_VARIABLE depends)
foreach(library libc6 libfreetype6 libsqlite3-0 libpng16-16)
  if(NOT depends MATCHES "${library}")
    message(FATAL_ERROR "the package does not depend on ${library}: Depends: ${depends}")
  endif()
endforeach()

set(root "${WORK}/root")
run_checked("dpkg -x" dpkg -x ${packages} "${root}")
expect_complete_tree("${root}/usr")
run_checked("the packaged quill-render" ${CMAKE_COMMAND} -E env "XDG_DATA_HOME=${WORK}/data"
  "${root}/usr/${BINDIR}/quill-render" --fonts-dir "${FONTS}" --font "DejaVu Sans:"
  --out "${WORK}/out" --text "<i>Packaged</i> Quill")
expect_png("${WORK}/out/0001.png")

# The packaged GStreamer element, found by GStreamer in the scratch root, finds the
# packaged module beside it and burns subtitles into a few frames.
if(GSTREAMER_PLUGIN)
  get_filename_component(pluginDir "${root}/usr/${GSTREAMER_PLUGIN}" DIRECTORY)
  run_checked("the packaged quilloverlay" ${CMAKE_COMMAND} -E env "GST_PLUGIN_PATH=${pluginDir}"
    "GST_REGISTRY=${WORK}/registry.bin" "QUILL_FONTS_DIR=${FONTS}" "XDG_DATA_HOME=${WORK}/data"
    gst-launch-1.0 -q filesrc "location=${SRT}" ! subparse ! q.text_sink
    videotestsrc num-buffers=30 ! video/x-raw,width=320,height=240,framerate=10/1 ! q.video_sink
    quilloverlay name=q ! pngenc snapshot=false ! multifilesink "location=${WORK}/frame-%02d.png")
  expect_png("${WORK}/frame-29.png")
endif()
