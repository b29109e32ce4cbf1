// Each copy of this program runs as another Windows version; the version word that
// Wine answers must fall into the family the copy was started as.
#include <gtest/gtest.h>

#include "TestSupport.h"

using testsupport::WindowsVersion;

namespace {

enum class Family { Win9x, NT4, NT5 };

Family Classify(DWORD versionWord) {
  BYTE major = LOBYTE(LOWORD(versionWord));
  if (versionWord & 0x80000000)
    return Family::Win9x;
  return major < 5 ? Family::NT4 : Family::NT5;
}

} // namespace

TEST(WindowsVersionTest, VersionWordMatchesTheVersionAskedFor) {
  WindowsVersion version = testsupport::VersionUnderTest();
  SCOPED_TRACE(testsupport::VersionName(version));
  DWORD word = GetVersion();
  switch (version) {
  case WindowsVersion::Win98:
    EXPECT_EQ(Family::Win9x, Classify(word));
    EXPECT_EQ(4, LOBYTE(LOWORD(word)));
    break;
  case WindowsVersion::NT4:
    EXPECT_EQ(Family::NT4, Classify(word));
    EXPECT_EQ(4, LOBYTE(LOWORD(word)));
    break;
  case WindowsVersion::Win2000:
    EXPECT_EQ(Family::NT5, Classify(word));
    EXPECT_EQ(0x0005u, LOWORD(word));
    break;
  case WindowsVersion::WinXP:
    EXPECT_EQ(Family::NT5, Classify(word));
    EXPECT_EQ(0x0105u, LOWORD(word));
    break;
  default:
    FAIL() << "started without a Windows version";
  }
}
