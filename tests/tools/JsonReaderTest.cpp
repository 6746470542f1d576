#include "tools/JsonReader.h"

#include <gtest/gtest.h>

namespace QuillRender {
namespace {

TEST(JsonReader, HostileNestingIsRefusedNotRecursedInto) {
  Json value;
  std::string error;
  const std::string deep = std::string(64, '[') + std::string(64, ']');
  EXPECT_TRUE(parseJson(deep, value, error)) << error;
  for (const std::string& hostile : {std::string(100000, '['), std::string(65, '[') + std::string(65, ']'),
                                     std::string(50000, '{') }) {
    EXPECT_FALSE(parseJson(hostile, value, error));
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace QuillRender
