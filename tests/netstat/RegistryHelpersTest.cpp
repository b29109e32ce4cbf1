// The registry helpers against the prefix's real registry. The program runs as Windows
// 98, NT 4 and XP: numbers are stored as text on 98 and XP, as REG_DWORD on NT 4.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "RegistryHelpers.h"
#include "TestSupport.h"

using testsupport::WindowsVersion;

namespace {

const DWORD kPoison = 0xDEADF00D;

bool NumbersAsText() { return testsupport::VersionUnderTest() != WindowsVersion::NT4; }

// Every test works below a root key of its own, which stands in for HKEY_LOCAL_MACHINE;
// the copies of this program that run as other versions at the same time use others.
class RegistryHelpersTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_rootPath = std::string("Software\\TarnuRegistryHelpersTest-") +
                 testsupport::VersionName(testsupport::VersionUnderTest());
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, m_rootPath.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &m_root, nullptr));
  }
  void TearDown() override {
    RegCloseKey(m_root);
    testsupport::DeleteRegistryTree(HKEY_LOCAL_MACHINE, m_rootPath.c_str());
  }

  bool KeyExists(const char *path) {
    HKEY key;
    if (RegOpenKeyExA(m_root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
      return false;
    RegCloseKey(key);
    return true;
  }

  void SetRaw(const char *subKey, const char *name, DWORD type, const void *data, DWORD size) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(m_root, subKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExA(key, name, 0, type, static_cast<const BYTE *>(data), size));
    RegCloseKey(key);
  }

  DWORD RawType(const char *subKey, const char *name, std::vector<BYTE> *data) {
    HKEY key;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(m_root, subKey, 0, KEY_QUERY_VALUE, &key));
    DWORD type = REG_NONE, size = 512;
    data->assign(size, 0);
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, name, nullptr, &type, data->data(), &size));
    data->resize(size);
    RegCloseKey(key);
    return type;
  }

  std::string m_rootPath;
  HKEY m_root = nullptr;
};

// Every helper on its success and its failure paths, with no assertion in between: the
// test framework opens handles of its own when it reports.
void UseEveryHelper(HKEY root) {
  char text[REGISTRY_STRING_CAPACITY + 1];
  DWORD value;
  WriteRegistryString(root, "Leak\\Check", "Text", "text");
  WriteRegistryDword(root, "Leak\\Check", "Dword", 1);
  WriteRegistryNumber(root, "Leak\\Check", "Number", 1);
  ReadRegistryString(root, "Leak\\Check", "Text", text);
  ReadRegistryString(root, "Leak\\Check", "Absent", text);
  ReadRegistryString(root, "Leak\\Missing", "Text", text);
  ReadRegistryDword(root, "Leak\\Check", "Dword", &value);
  ReadRegistryDword(root, "Leak\\Check", "Text", &value); // too long: fails
  ReadRegistryNumber(root, "Leak\\Check", "Number", &value);
  ReadRegistryNumber(root, "Leak\\Check", "Absent", &value);
  RegCloseKey(CreateRegistryKeyPath(root, "Leak\\One\\Two\\Three"));
  CreateRegistryKeyPath(root, std::string(300, 'p').c_str()); // refused
  WriteRegistryString(root, nullptr, "Text", "on the root");
  ReadRegistryString(root, "", "Text", text);
}

} // namespace

TEST_F(RegistryHelpersTest, NoHelperLeavesAKeyOpen) {
  UseEveryHelper(m_root); // the first calls of a process may open handles that stay
  unsigned before = testsupport::CountOpenHandles();
  for (int round = 0; round < 5; ++round)
    UseEveryHelper(m_root);
  EXPECT_EQ(before, testsupport::CountOpenHandles());
}

TEST_F(RegistryHelpersTest, NullOrEmptySubKeyWorksOnTheRootAndKeepsItOpen) {
  for (const char *subKey : {static_cast<const char *>(nullptr), ""}) {
    SCOPED_TRACE(subKey ? "empty sub-key" : "null sub-key");
    ASSERT_TRUE(WriteRegistryString(m_root, subKey, "Text", "on the root"));
    ASSERT_TRUE(WriteRegistryDword(m_root, subKey, "Dword", 7));
    char text[REGISTRY_STRING_CAPACITY + 1] = {};
    ASSERT_TRUE(ReadRegistryString(m_root, subKey, "Text", text));
    EXPECT_STREQ("on the root", text);
    DWORD value = 0;
    ASSERT_TRUE(ReadRegistryDword(m_root, subKey, "Dword", &value));
    EXPECT_EQ(7u, value);
    EXPECT_TRUE(WriteRegistryNumber(m_root, subKey, "Number", 5));
    EXPECT_TRUE(ReadRegistryNumber(m_root, subKey, "Number", &value));
    EXPECT_EQ(5u, value);
    // The root is still usable: the helpers did not close it.
    DWORD subKeys = 1;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyA(m_root, nullptr, nullptr, nullptr, &subKeys,
                                              nullptr, nullptr, nullptr, nullptr, nullptr,
                                              nullptr, nullptr));
    EXPECT_EQ(0u, subKeys);
  }
}

TEST_F(RegistryHelpersTest, WritersCreateMissingKeysAndReadersCreateNothing) {
  DWORD value = kPoison;
  char text[REGISTRY_STRING_CAPACITY + 1] = "untouched";
  EXPECT_FALSE(ReadRegistryDword(m_root, "Missing\\Key", "Value", &value));
  EXPECT_FALSE(ReadRegistryNumber(m_root, "Missing\\Key", "Value", &value));
  EXPECT_FALSE(ReadRegistryString(m_root, "Missing\\Key", "Value", text));
  EXPECT_EQ(kPoison, value);
  EXPECT_STREQ("untouched", text);
  EXPECT_FALSE(KeyExists("Missing"));

  EXPECT_TRUE(WriteRegistryString(m_root, "A\\B\\C", "Text", "x"));
  EXPECT_TRUE(WriteRegistryDword(m_root, "D\\E", "Dword", 1));
  EXPECT_TRUE(WriteRegistryNumber(m_root, "F\\G", "Number", 1));
  EXPECT_TRUE(KeyExists("A\\B\\C"));
  EXPECT_TRUE(KeyExists("D\\E"));
  EXPECT_TRUE(KeyExists("F\\G"));

  // A missing value in an existing key is a failure too, and leaves the default alone.
  EXPECT_FALSE(ReadRegistryNumber(m_root, "F\\G", "Absent", &value));
  EXPECT_EQ(kPoison, value);
}

TEST_F(RegistryHelpersTest, CreateRegistryKeyPathLeavesOnlyTheLastKeyOpen) {
  EXPECT_EQ(m_root, CreateRegistryKeyPath(m_root, ""));
  EXPECT_EQ(m_root, CreateRegistryKeyPath(m_root, nullptr));

  unsigned before = testsupport::CountOpenHandles();
  HKEY key = CreateRegistryKeyPath(m_root, "One\\Two\\Three");
  unsigned during = testsupport::CountOpenHandles();
  ASSERT_TRUE(key != nullptr);
  EXPECT_EQ(before + 1, during);
  EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "Here", 0, REG_SZ,
                                          reinterpret_cast<const BYTE *>("3"), 2));
  RegCloseKey(key);
  char text[REGISTRY_STRING_CAPACITY + 1];
  EXPECT_TRUE(ReadRegistryString(m_root, "One\\Two\\Three", "Here", text));
  EXPECT_STREQ("3", text);

  // An existing path opens again, with the same bookkeeping.
  key = CreateRegistryKeyPath(m_root, "One\\Two\\Three");
  ASSERT_TRUE(key != nullptr);
  RegCloseKey(key);
}

TEST_F(RegistryHelpersTest, CreateRegistryKeyPathRefusesPathsThatDoNotFitItsBuffer) {
  std::string component(200, 'k');
  std::string fits = component + "\\" + std::string(58, 'm');    // 259 characters
  std::string tooLong = component + "\\" + std::string(59, 'n'); // 260 characters
  ASSERT_EQ(259u, fits.size());
  ASSERT_EQ(260u, tooLong.size());

  EXPECT_TRUE(CreateRegistryKeyPath(m_root, tooLong.c_str()) == nullptr);
  EXPECT_TRUE(CreateRegistryKeyPath(m_root, (tooLong + std::string(1000, 'x')).c_str()) ==
              nullptr);
  EXPECT_FALSE(KeyExists(component.c_str()));

  HKEY key = CreateRegistryKeyPath(m_root, fits.c_str());
  ASSERT_TRUE(key != nullptr);
  RegCloseKey(key);
  EXPECT_TRUE(KeyExists(fits.c_str()));
}

TEST_F(RegistryHelpersTest, NumbersUseThePlatformsEncoding) {
  ASSERT_TRUE(WriteRegistryNumber(m_root, "Adapter", "EnableRadio", -1));
  std::vector<BYTE> data;
  DWORD type = RawType("Adapter", "EnableRadio", &data);
  if (NumbersAsText()) {
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ("-1", std::string(reinterpret_cast<const char *>(data.data())));
    EXPECT_EQ(3u, data.size());
  } else {
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    ASSERT_EQ(4u, data.size());
    DWORD stored;
    memcpy(&stored, data.data(), 4);
    EXPECT_EQ(0xFFFFFFFFu, stored);
  }
  DWORD value = 0;
  ASSERT_TRUE(ReadRegistryNumber(m_root, "Adapter", "EnableRadio", &value));
  EXPECT_EQ(0xFFFFFFFFu, value);
}

TEST_F(RegistryHelpersTest, NumbersReadFromTextFollowStrtoul) {
  if (!NumbersAsText())
    GTEST_SKIP() << "NT 4 reads numbers as REG_DWORD";
  static const struct {
    const char *text;
    DWORD expected;
  } cases[] = {
      {"12abc", 12},      {"", 0},           {"abc", 0},         {"  42", 42},
      {"+7", 7},          {"-2", 0xFFFFFFFE}, {"4294967295", 0xFFFFFFFF},
      {"99999999999", 0xFFFFFFFF},
  };
  for (const auto &entry : cases) {
    SCOPED_TRACE(entry.text);
    SetRaw("Adapter", "EnableRadio", REG_SZ, entry.text,
           static_cast<DWORD>(strlen(entry.text) + 1));
    DWORD value = kPoison;
    EXPECT_TRUE(ReadRegistryNumber(m_root, "Adapter", "EnableRadio", &value));
    EXPECT_EQ(entry.expected, value);
  }
  // A REG_DWORD 1 comes back as its raw bytes 01 00 00 00: text without digits.
  DWORD one = 1;
  SetRaw("Adapter", "EnableRadio", REG_DWORD, &one, 4);
  DWORD value = kPoison;
  EXPECT_TRUE(ReadRegistryNumber(m_root, "Adapter", "EnableRadio", &value));
  EXPECT_EQ(0u, value);
}

TEST_F(RegistryHelpersTest, StringReaderHonoursItsCapacity) {
  for (DWORD type : {static_cast<DWORD>(REG_BINARY), static_cast<DWORD>(REG_SZ)}) {
    SCOPED_TRACE(type == REG_SZ ? "REG_SZ" : "REG_BINARY");
    // 259 bytes: 258 characters and the stored terminating zero for REG_SZ.
    std::string fits(type == REG_SZ ? 258 : 259, 'f');
    SetRaw("Adapter", "Value", type, fits.c_str(), 259);
    char buffer[REGISTRY_STRING_CAPACITY + 2];
    memset(buffer, 'x', sizeof(buffer));
    ASSERT_TRUE(ReadRegistryString(m_root, "Adapter", "Value", buffer));
    EXPECT_EQ('\0', buffer[259]);
    EXPECT_EQ('x', buffer[260]);
    EXPECT_EQ(0, memcmp(buffer, fits.data(), fits.size()));

    std::string tooLong(type == REG_SZ ? 259 : 260, 'g');
    SetRaw("Adapter", "Value", type, tooLong.c_str(), 260);
    memset(buffer, 'x', sizeof(buffer));
    EXPECT_FALSE(ReadRegistryString(m_root, "Adapter", "Value", buffer));
    EXPECT_EQ('x', buffer[260]);
  }
  // A smaller capacity is honoured the same way.
  SetRaw("Adapter", "Short", REG_SZ, "abcd", 5);
  char small[6];
  EXPECT_FALSE(ReadRegistryString(m_root, "Adapter", "Short", small, 4));
  EXPECT_TRUE(ReadRegistryString(m_root, "Adapter", "Short", small, 5));
  EXPECT_STREQ("abcd", small);
}

TEST_F(RegistryHelpersTest, DwordReaderTakesUpToFourBytesOfAnyType) {
  static const struct {
    const char *name;
    DWORD type;
    std::vector<BYTE> bytes;
    BOOL expectedResult;
    DWORD expected;
  } cases[] = {
      {"dword", REG_DWORD, {0x78, 0x56, 0x34, 0x12}, TRUE, 0x12345678},
      {"two bytes fill the low half", REG_BINARY, {0x34, 0x12}, TRUE, 0xDEAD1234},
      {"text of three bytes", REG_SZ, {'4', '2', 0}, TRUE, 0xDE003234},
      {"five bytes fail", REG_BINARY, {1, 2, 3, 4, 5}, FALSE, kPoison},
      {"qword fails", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, FALSE, kPoison},
  };
  for (const auto &entry : cases) {
    SCOPED_TRACE(entry.name);
    SetRaw("Adapter", "Value", entry.type, entry.bytes.data(),
           static_cast<DWORD>(entry.bytes.size()));
    DWORD value = kPoison;
    EXPECT_EQ(entry.expectedResult, ReadRegistryDword(m_root, "Adapter", "Value", &value));
    EXPECT_EQ(entry.expected, value);
  }
}
