#include "dxf/group_pairs.h"

#include <gtest/gtest.h>

#include "model/file_error.h"

namespace tamsel {
namespace {

TEST(GroupPairs, ReadsPairsWithEitherLineEndAndTrimmedBlanks) {
  const auto lf = ReadGroupPairs("  0\nSECTION\n  2\nENTITIES \n", "a.dxf");
  const auto crlf = ReadGroupPairs("  0\r\nSECTION\r\n  2\r\nENTITIES \r\n", "a.dxf");
  for (const auto* pairs : {&lf, &crlf}) {
    ASSERT_EQ(pairs->size(), 2u);
    EXPECT_EQ((*pairs)[0].code, 0);
    EXPECT_EQ((*pairs)[0].value, "SECTION");
    EXPECT_EQ((*pairs)[1].code, 2);
    EXPECT_EQ((*pairs)[1].value, "ENTITIES");
    EXPECT_EQ((*pairs)[1].line, 3);
  }
}

TEST(GroupPairs, ErrorsNameTheFileAndTheLine) {
  try {
    ReadGroupPairs("0\nSECTION\nxx\nENTITIES\n", "ship.dxf");
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_EQ(e.file(), "ship.dxf");
    EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos) << e.what();
  }
  EXPECT_THROW(ReadGroupPairs("0\nSECTION\n2\n", "ship.dxf"), FileError);
  EXPECT_THROW(ReadGroupPairs("AutoCAD Binary DXF\r\n\x1a", "bin.dxf"), FileError);
}

}  // namespace
}  // namespace tamsel
