# What installation adds besides the files themselves: the CMake package that
# find_package(Quill) reads, the pkg-config file, and the Debian package made by CPack.
# Every path in them is relative to where they are installed, so an installed tree can
# be moved (a temporary prefix, a package unpacked with dpkg -x) and still find itself.
include(CMakePackageConfigHelpers)

set(QUILL_MODULE_FILE_NAME ${CMAKE_SHARED_MODULE_PREFIX}QuillRasterizer${CMAKE_SHARED_MODULE_SUFFIX})
set(QUILL_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Quill)

install(EXPORT QuillTargets NAMESPACE Quill:: DESTINATION ${QUILL_CMAKE_INSTALL_DIR}
  COMPONENT Development)
configure_package_config_file(cmake/QuillConfig.cmake.in
  ${PROJECT_BINARY_DIR}/QuillConfig.cmake
  INSTALL_DESTINATION ${QUILL_CMAKE_INSTALL_DIR}
  PATH_VARS QUILL_MODULE_INSTALL_DIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/QuillConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/QuillConfig.cmake ${PROJECT_BINARY_DIR}/QuillConfigVersion.cmake
  DESTINATION ${QUILL_CMAKE_INSTALL_DIR} COMPONENT Development)

file(RELATIVE_PATH QUILL_PC_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" QUILL_PC_PREFIX "${QUILL_PC_PREFIX}")
configure_file(cmake/quill.pc.in ${PROJECT_BINARY_DIR}/quill.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/quill.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
  COMPONENT Development)

# cpack -G DEB: one package with the module, quill-render, the SDK and, when built, the
# GStreamer element; its dependencies are found by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME quill)
set(CPACK_PACKAGE_VENDOR "Quill")
set(CPACK_PACKAGE_CONTACT "Quill developers <quill@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "text-subtitle rasteriser: plug-in module, quill-render, host SDK")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
include(CPack)
