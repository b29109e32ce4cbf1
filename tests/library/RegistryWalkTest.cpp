// The registry walks, run without any adapter driver: the first pass finds nothing
// (every probe fails, the access driver lists nothing), so MacGetNamesEx with all
// adapters lists exactly what its second pass reads from the registry.
#include <gtest/gtest.h>

#include <cstring>

#include "AdapterRegistry.h"
#include "MacIoctl.h"

using namespace librarytest;
using testsupport::VersionUnderTest;
using testsupport::WindowsVersion;

namespace {

bool RunsNt4Walk() { return VersionUnderTest() == WindowsVersion::NT4; }

class RegistryWalkTest : public ::testing::Test {
protected:
  void TearDown() override {
    m_registry.Clear();
    EXPECT_TRUE(testsupport::HeapsAreValid());
  }
  AdapterRegistry m_registry;
};

TEST_F(RegistryWalkTest, NoMarkedAdapterGivesNullListsAndNoMatch) {
  LONG count = -1;
  DWORD size = 7;
  EXPECT_EQ(nullptr, MacGetNamesEx(&count, &size, TRUE));
  EXPECT_EQ(0, count);
  EXPECT_EQ(0u, size);
  count = -1;
  size = 7;
  EXPECT_EQ(nullptr, MacGetNames(&count, &size));
  EXPECT_EQ(0, count);
  EXPECT_EQ(0u, size);
  MacFreeNames(nullptr);

  char text[256] = "";
  EXPECT_EQ(0, MacFindFirstMatch(text));
  char name[256] = "", description[256] = "", keyPath[256] = "untouched";
  EXPECT_EQ(0, MacFindFirstMatchEx(name, description, keyPath, TRUE));
  EXPECT_STREQ("untouched", keyPath);
}

TEST_F(RegistryWalkTest, ClassKeyWalkSkipsUnfitSubkeysAndEndsAtALongName) {
  if (RunsNt4Walk())
    GTEST_SKIP() << "NT 4 reads the network card list";
  std::vector<RegistryValue> complete{Marker(), RegistryValue::Text("NetCfgInstanceId", "{X}"),
                                      RegistryValue::Text("DriverDesc", "Listed nowhere")};
  // Key order is the registry's: '#' sorts before digits, so the walk meets it first.
  m_registry.AddClassInstance("#9990", complete);
  m_registry.AddMarkedInstance("9990", "{A0000000-0000-0000-0000-00000000000A}", "Alpha");
  m_registry.AddClassInstance("9991", {RegistryValue::Text("NetCfgInstanceId", "{U}"),
                                       RegistryValue::Text("DriverDesc", "Unmarked")});
  m_registry.AddClassInstance("9992", {Marker(), RegistryValue::Text("NetCfgInstanceId", "{N}")});
  m_registry.AddClassInstance("9993", {Marker(), RegistryValue::Text("DriverDesc", "Gamma")});
  m_registry.AddMarkedInstance("9994", "{B}", "Beta");
  m_registry.AddMarkedInstance("999444444444444", "{C}", "Fifteen");   // 15 characters
  m_registry.AddClassInstance("9995555555555555", complete);           // 16: ends the walk
  m_registry.AddMarkedInstance("9996", "{D}", "After the end");

  std::string classKey = m_registry.ClassKey();
  std::vector<Entry> expected;
  expected.push_back({m_registry.ClassAdapterName("9990", "{A0000000-0000-0000-0000-00000000000A}"),
                      "[9990] Alpha", classKey + "\\9990"});
  // Windows 9x mode names the adapter by its instance key and needs no NetCfgInstanceId.
  if (!m_registry.Nt5Mode())
    expected.push_back({"9993", "[9993] Gamma", classKey + "\\9993"});
  expected.push_back({m_registry.ClassAdapterName("9994", "{B}"), "[9994] Beta",
                      classKey + "\\9994"});
  expected.push_back({m_registry.ClassAdapterName("999444444444444", "{C}"),
                      "[999444444444444] Fifteen", classKey + "\\999444444444444"});
  EXPECT_EQ(expected, GetNamesEx(true));
  // Nothing answers a probe, and only the low byte of the flag counts.
  EXPECT_TRUE(GetNamesEx(false).empty());
  EXPECT_TRUE(GetNames().empty());
  LONG count;
  DWORD size;
  EXPECT_EQ(nullptr, MacGetNamesEx(&count, &size, 0x100));
}

// Registry values at the edges of the 256-byte buffers and of unexpected types. Each case
// writes instance 9990 and a complete instance 9991 after it, which must stay listed.
TEST_F(RegistryWalkTest, ClassKeyValuesThatDoNotFitLeaveTheAdapterOut) {
  if (RunsNt4Walk())
    GTEST_SKIP() << "NT 4 reads the network card list";
  const std::string raw255(255, 'r'), raw248(248, 'd');
  static const struct Case {
    const char *what;
    bool nt5Only;
    RegistryValue marker, instanceId, driverDesc;
    bool listed;
    const char *description;  // when listed; empty: "[9990] " + DriverDesc text
  } cases[] = {
      {"marker of 256 bytes", false, {"TARNUIOC", REG_BINARY, std::string(256, 'm')},
       RegistryValue::Text("NetCfgInstanceId", "{E}"), RegistryValue::Text("DriverDesc", "d"),
       true, ""},
      {"marker of 257 bytes", false, {"TARNUIOC", REG_BINARY, std::string(257, 'm')},
       RegistryValue::Text("NetCfgInstanceId", "{E}"), RegistryValue::Text("DriverDesc", "d"),
       false, ""},
      {"empty marker of no type", false, {"TARNUIOC", REG_NONE, ""},
       RegistryValue::Text("NetCfgInstanceId", "{E}"), RegistryValue::Text("DriverDesc", "d"),
       true, ""},
      {"description filling the buffer", false, Marker(),
       RegistryValue::Text("NetCfgInstanceId", "{E}"), RegistryValue::Text("DriverDesc", raw248),
       true, ""},
      {"description one too long", false, Marker(),
       RegistryValue::Text("NetCfgInstanceId", "{E}"),
       RegistryValue::Text("DriverDesc", raw248 + "d"), false, ""},
      {"description without NUL filling the buffer", false, Marker(),
       RegistryValue::Text("NetCfgInstanceId", "{E}"),
       {"DriverDesc", REG_SZ, raw248 + "d"}, false, ""},
      {"description without NUL, room for one", false, Marker(),
       RegistryValue::Text("NetCfgInstanceId", "{E}"), {"DriverDesc", REG_SZ, "nonul"}, true,
       "[9990] nonul"},
      {"description as a number", false, Marker(),
       RegistryValue::Text("NetCfgInstanceId", "{E}"), RegistryValue::Dword("DriverDesc", 0x41),
       false, ""},
      {"description as an unexpanded string", false, Marker(),
       RegistryValue::Text("NetCfgInstanceId", "{E}"), {"DriverDesc", REG_EXPAND_SZ,
       std::string("%x%\0", 4)}, true, "[9990] %x%"},
      {"instance id of 255 characters", true, Marker(),
       RegistryValue::Text("NetCfgInstanceId", raw255), RegistryValue::Text("DriverDesc", "d"),
       true, ""},
      {"instance id of 256 characters", true, Marker(),
       RegistryValue::Text("NetCfgInstanceId", raw255 + "r"),
       RegistryValue::Text("DriverDesc", "d"), false, ""},
      {"instance id as binary", true, Marker(), {"NetCfgInstanceId", REG_BINARY, "{E}"},
       RegistryValue::Text("DriverDesc", "d"), false, ""},
      {"empty instance id", true, Marker(), RegistryValue::Text("NetCfgInstanceId", ""),
       RegistryValue::Text("DriverDesc", "d"), false, ""},
  };
  for (const Case &c : cases) {
    if (c.nt5Only && !m_registry.Nt5Mode())
      continue;
    SCOPED_TRACE(c.what);
    m_registry.AddClassInstance("9990", {c.marker, c.instanceId, c.driverDesc});
    m_registry.AddMarkedInstance("9991", "{F}", "Sentinel");
    std::vector<Entry> entries = GetNamesEx(true);
    m_registry.Clear();

    ASSERT_EQ(c.listed ? 2u : 1u, entries.size());
    EXPECT_EQ("[9991] Sentinel", entries.back().description);
    if (!c.listed)
      continue;
    const Entry &entry = entries.front();
    std::string text(c.driverDesc.data.c_str());
    EXPECT_EQ(*c.description ? std::string(c.description) : "[9990] " + text, entry.description);
    if (m_registry.Nt5Mode())
      EXPECT_EQ(std::string(c.instanceId.data.c_str()), entry.adapterName);
    EXPECT_LE(entry.description.size(), 255u);
  }
}

TEST_F(RegistryWalkTest, Nt4WalkReadsCardsAndServiceParameters) {
  if (!RunsNt4Walk())
    GTEST_SKIP() << "only NT 4 reads the network card list";
  // The parameters path is "System\CurrentControlSet\Services\" (34) + name + "\Parameters"
  // (11): a 210-character service name fills the 255 characters a caller can hold.
  std::string longest = "TarnuLong" + std::string(201, 'x');
  std::string tooLong = longest + "y";
  m_registry.AddNt4Card("9990", "TarnuCardA", "Card Alpha", {Marker()});
  m_registry.AddNt4Card("9991", "TarnuCardB", "", {Marker()});
  m_registry.AddNt4Card("9992", "TarnuCardC", "Unmarked", {});
  m_registry.AddNt4Card("9993", longest, "Longest name", {Marker()});
  m_registry.AddNt4Card("9994", tooLong, "Name too long", {Marker()});
  m_registry.AddNt4Card("9995", "TarnuCardE", "Card Echo", {Marker()});
  m_registry.AddNt4Card("A996", "TarnuCardF", "Card Foxtrot", {Marker()});

  std::vector<Entry> expected{
      {"TarnuCardA", "Card Alpha", AdapterRegistry::Nt4ParametersPath("TarnuCardA")},
      {longest, "Longest name", AdapterRegistry::Nt4ParametersPath(longest)},
      {"TarnuCardE", "Card Echo", AdapterRegistry::Nt4ParametersPath("TarnuCardE")},
  };
  EXPECT_EQ(expected, GetNamesEx(true));
  EXPECT_EQ(255u, expected[1].keyPath.size());
  EXPECT_TRUE(GetNames().empty());
}

// The searches over MacGetNamesEx with all adapters: nothing answers a probe, so the
// registry's adapters are all there is.
TEST_F(RegistryWalkTest, FindFirstMatchExPicksByNameOrDescription) {
  Entry alpha = m_registry.AddAdapter("9990", "{TARNU-ALPHA}", "Radio Alpha");
  Entry beta = m_registry.AddAdapter("9991", "{TARNU-BETA}", "Radio Beta");
  Entry gamma = m_registry.AddAdapter("9992", "{TARNU-GAMMA}", "Radio Gamma");
  bool win9x = VersionUnderTest() == WindowsVersion::Win98;
  static const struct {
    const char *what, *name, *description;
    int matched;  // 0 none, else 1-based index into {alpha, beta, gamma}
    bool allAdapters;
  } cases[] = {
      {"both empty: the first adapter", "", "", 1, true},
      {"description substring", "", "Beta", 2, true},
      {"description differs in case", "", "beta", 0, true},
      {"exact name, description ignored", "{TARNU-GAMMA}", "Alpha", 3, true},
      {"name differs in case", "{tarnu-gamma}", "", 0, true},
      {"name is only a prefix", "{TARNU-GAMMA", "", 0, true},
      {"without all adapters nothing answers", "", "", 0, false},
  };
  const Entry *entries[] = {&alpha, &beta, &gamma};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    // On Windows 9x the class-key walk names adapters by their instance keys.
    std::string name = c.name;
    if (win9x && !name.empty())
      name = name == "{TARNU-GAMMA}" ? gamma.adapterName : name;
    char nameBuffer[260], description[260], keyPath[260];
    strcpy(nameBuffer, name.c_str());
    strcpy(description, c.description);
    strcpy(keyPath, "poison");
    BYTE found = MacFindFirstMatchEx(nameBuffer, description, keyPath, c.allAdapters);
    if (c.matched == 0) {
      EXPECT_EQ(0, found);
      EXPECT_STREQ(name.c_str(), nameBuffer);
      EXPECT_STREQ(c.description, description);
      EXPECT_STREQ("poison", keyPath);
      continue;
    }
    EXPECT_EQ(1, found);
    const Entry &expected = *entries[c.matched - 1];
    EXPECT_EQ(expected.adapterName, nameBuffer);
    EXPECT_EQ(expected.description, description);
    EXPECT_EQ(expected.keyPath, keyPath);
  }
}

} // namespace
