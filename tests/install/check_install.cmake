# cmake --install into a temporary prefix, then a host built out of tree against it, as
# the README shows, loads the installed module and renders one subtitle to a PNG.
include(${CMAKE_CURRENT_LIST_DIR}/InstalledTree.cmake)

set(prefix "${WORK}/prefix")
file(REMOVE_RECURSE "${WORK}")
run_checked("cmake --install" ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${prefix}")
expect_complete_tree("${prefix}")

run_checked("configuring the out-of-tree host" ${CMAKE_COMMAND} -S "${EXAMPLE}" -B "${WORK}/host"
  -G Ninja "-DCMAKE_PREFIX_PATH=${prefix}" -DCMAKE_BUILD_TYPE=Debug)
run_checked("building the out-of-tree host" ${CMAKE_COMMAND} --build "${WORK}/host")

# The package's module path and the pkg-config file's agree on the installed module.
file(READ "${WORK}/host/module-path.txt" module)
execute_process(COMMAND ${CMAKE_COMMAND} -E env "PKG_CONFIG_PATH=${prefix}/${LIBDIR}/pkgconfig"
  pkg-config --variable=module quill OUTPUT_VARIABLE pcModule OUTPUT_STRIP_TRAILING_WHITESPACE)
file(REAL_PATH "${module}" module)
file(REAL_PATH "${pcModule}" pcModule)
if(NOT module STREQUAL pcModule OR NOT module STREQUAL "${prefix}/${MODULEDIR}/${MODULE}")
  message(FATAL_ERROR "module paths disagree: CMake ${module}, pkg-config ${pcModule}")
endif()

run_checked("the out-of-tree host" ${CMAKE_COMMAND} -E env "QUILL_FONTS_DIR=${FONTS}"
  "XDG_DATA_HOME=${WORK}/data" "${WORK}/host/minimal-host" "${module}" "DejaVu Sans:"
  "<b>Installed</b> Quill" "${WORK}/subtitle.png")
expect_png("${WORK}/subtitle.png")
