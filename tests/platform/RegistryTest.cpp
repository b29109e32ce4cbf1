// The prefix's registry keeps what a test writes, in every value type the system uses.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {
const char kTestKey[] = "System\\CurrentControlSet\\Services\\TarnuPlatformTest";
}

TEST(RegistryTest, ValuesRoundTripAndTheKeyIsRemovedAgain) {
  {
    testsupport::ScopedRegistryTree tree(HKEY_LOCAL_MACHINE, kTestKey);
    HKEY key;
    std::string path = std::string(kTestKey) + "\\Parameters";
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    const char text[] = "{4D36E972-E325-11CE-BFC1-08002BE10318}";
    DWORD number = 0xFFFFFFFF;
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "Text", 0, REG_SZ,
                                            reinterpret_cast<const BYTE *>(text), sizeof(text)));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "Number", 0, REG_DWORD,
                                            reinterpret_cast<const BYTE *>(&number), 4));
    RegCloseKey(key);

    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &key));
    char readText[64] = {};
    DWORD type = 0, size = sizeof(readText);
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "Text", nullptr, &type,
                                              reinterpret_cast<BYTE *>(readText), &size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(sizeof(text), size);
    EXPECT_STREQ(text, readText);
    DWORD readNumber = 0;
    size = sizeof(readNumber);
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "Number", nullptr, &type,
                                              reinterpret_cast<BYTE *>(&readNumber), &size));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(0xFFFFFFFFu, readNumber);
    RegCloseKey(key);
  }
  HKEY key;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND,
            RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTestKey, 0, KEY_QUERY_VALUE, &key));
}
