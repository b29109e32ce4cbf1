// CString: formatting of any length, search, and appending.
#include <gtest/gtest.h>

#include <string>

#include "Framework/String.h"

namespace {

TEST(StringTest, FormatFollowsPrintfRulesAtAnyLength) {
  CString text;
  text.Format("Signal %d%%", 93);
  EXPECT_STREQ("Signal 93%", text);
  EXPECT_EQ(10, text.GetLength());

  std::string longText(1000, 'k');
  text.Format("%s|%d", longText.c_str(), -1);
  EXPECT_EQ(longText + "|-1", static_cast<const char *>(text));
}

TEST(StringTest, FindAnswersTheFirstPositionOrMinusOne) {
  const CString text("NONSTOP RESTART");
  static const struct {
    const char *sub;
    int nStart;
    int expected;
  } cases[] = {
      {"STOP", 0, 3}, {"START", 0, 10}, {"stop", 0, -1}, {"T", 5, 11},
      {"", 0, 0},     {"STOP", 4, -1},  {"STOP", 99, -1},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.sub);
    EXPECT_EQ(c.expected, text.Find(c.sub, c.nStart));
  }
  EXPECT_EQ(7, text.Find(' '));
  EXPECT_EQ(-1, text.Find('x'));
}

TEST(StringTest, CopiesOwnTheirTextAndAppendingToItselfWorks) {
  CString original("abc");
  CString copy(original);
  original += "def";
  EXPECT_STREQ("abc", copy);
  original += original;
  EXPECT_STREQ("abcdefabcdef", original);
  original = static_cast<const char *>(original) + 3;
  EXPECT_STREQ("defabcdef", original);
  original.Empty();
  EXPECT_EQ(0, original.GetLength());
}

} // namespace
