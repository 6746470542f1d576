# The install and package checks on a tree that lacks its files: they must stop, naming
# the first file missing, not pass or fail somewhere later without saying why.
include(${CMAKE_CURRENT_LIST_DIR}/InstalledTree.cmake)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
expect_complete_tree("${WORK}")
message(FATAL_ERROR "an empty tree passed the installed-tree checks")
