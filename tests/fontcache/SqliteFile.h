#pragma once
// A second, independent connection to a cache file, so that face cache tests and
// benchmarks see what really reached the disk.
#include "tests/support/SqliteConnection.h"

namespace FontCacheTest {
using SqliteFile = TestSupport::SqliteConnection;
}  // namespace FontCacheTest
