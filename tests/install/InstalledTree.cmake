# Checks shared by the install and package tests: an installed tree (under ROOT, with the
# install prefix PREFIX inside it) holds every file it should, and what runs from it works.

# Stops the test, naming the file, when `relative` is missing under `tree`.
function(expect_installed tree relative)
  if(NOT EXISTS "${tree}/${relative}")
    message(FATAL_ERROR "the installed tree ${tree} lacks ${relative}")
  endif()
endfunction()

# Every file a host or a user of quill-render needs.
function(expect_complete_tree tree)
  foreach(relative
      ${BINDIR}/quill-render ${MODULEDIR}/${MODULE}
      ${INCLUDEDIR}/framework/PluginEntry.h ${INCLUDEDIR}/framework/README.md
      ${INCLUDEDIR}/host/PluginModule.h ${INCLUDEDIR}/host/HostedComponent.h
      ${LIBDIR}/libquill_host.a ${LIBDIR}/cmake/Quill/QuillConfig.cmake
      ${LIBDIR}/cmake/Quill/QuillTargets.cmake ${LIBDIR}/pkgconfig/quill.pc)
    expect_installed("${tree}" "${relative}")
  endforeach()
  if(GSTREAMER_PLUGIN)
    expect_installed("${tree}" "${GSTREAMER_PLUGIN}")
  endif()
endfunction()

# Runs a command, stopping the test with its output when it fails.
function(run_checked what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${out}\n${err}")
  endif()
endfunction()

# Stops the test unless `file` exists and starts with the PNG signature.
function(expect_png file)
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "no image was written to ${file}")
  endif()
  file(READ "${file}" signature LIMIT 8 HEX)
  if(NOT signature STREQUAL "89504e470d0a1a0a")
    message(FATAL_ERROR "${file} is not a PNG file")
  endif()
endfunction()
