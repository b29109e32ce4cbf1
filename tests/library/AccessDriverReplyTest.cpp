// The access driver's adapter list reply, read by the library's own parser. Each reply is
// placed so that it ends at an inaccessible page: reading one byte past it faults.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AdapterWalks.h"
#include "NameLists.h"
#include "TestSupport.h"

using librarytest::Entry;

namespace {

class GuardedBytes {
public:
  explicit GuardedBytes(const std::string &bytes) {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    size_t pages = (bytes.size() + info.dwPageSize - 1) / info.dwPageSize + 1;
    m_base = static_cast<char *>(
        VirtualAlloc(nullptr, pages * info.dwPageSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    char *guard = m_base + (pages - 1) * info.dwPageSize;
    DWORD old;
    VirtualProtect(guard, info.dwPageSize, PAGE_NOACCESS, &old);
    m_bytes = guard - bytes.size();
    memcpy(m_bytes, bytes.data(), bytes.size());
  }
  ~GuardedBytes() { VirtualFree(m_base, 0, MEM_RELEASE); }
  const char *Data() const { return m_bytes; }

private:
  char *m_base;
  char *m_bytes;
};

std::vector<Entry> Parse(const std::string &reply) {
  GuardedBytes guarded(reply);
  NameListBuilder builder;
  builder.SetWithKeyPaths(true);
  AppendAccessDriverReply(builder, guarded.Data(), static_cast<DWORD>(reply.size()));
  LONG count;
  DWORD size;
  MAC_NAME_LIST *list = builder.Finish(&count, &size);
  std::vector<Entry> entries = librarytest::ParseNameList(list, count, size, true);
  MacFreeNames(list);
  return entries;
}

std::string Pair(const std::string &name, const std::string &description) {
  return name + '\0' + description + '\0';
}

Entry Listed(const std::string &name, const std::string &description) {
  return Entry{name, description,
               "System\\CurrentControlSet\\Services\\Class\\Net\\" + name.substr(0, 4)};
}

TEST(AccessDriverReplyTest, PairsBecomeEntriesWithInstanceKeyPaths) {
  const std::string long255(255, 'L'), long256(256, 'L');
  static const struct Case {
    const char *what;
    std::string reply;
    std::vector<Entry> expected;
  } cases[] = {
      {"two pairs and the closing empty name",
       Pair("0000WLAN", "Radio A") + Pair("01", "Short name") + '\0',
       {Listed("0000WLAN", "Radio A"), Listed("01", "Short name")}},
      {"no closing empty name", Pair("0000", "A") + Pair("0001", "B"),
       {Listed("0000", "A"), Listed("0001", "B")}},
      {"bytes after the closing name are not read",
       Pair("0000", "A") + '\0' + Pair("0001", "B"), {Listed("0000", "A")}},
      {"no NUL at all", std::string(2048, 'x'), {}},
      {"description cut off by the reply's end", Pair("0000", "A") + "0001" + '\0' + "Cut",
       {Listed("0000", "A")}},
      {"name cut off by the reply's end", Pair("0000", "A") + "0001", {Listed("0000", "A")}},
      {"strings of 255 characters fit", Pair("0000" + long255.substr(4), long255) + '\0',
       {Listed("0000" + long255.substr(4), long255)}},
      {"too long a name leaves that pair out",
       Pair(long256, "A") + Pair("0001", "B") + '\0', {Listed("0001", "B")}},
      {"too long a description leaves that pair out",
       Pair("0000", long256) + Pair("0001", "B") + '\0', {Listed("0001", "B")}},
      {"a full 2048-byte reply whose last name never ends",
       Pair("0000", std::string(255, 'f')) + std::string(2048 - 261, 'z'),
       {Listed("0000", std::string(255, 'f'))}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.expected, Parse(c.reply));
  }
  EXPECT_TRUE(testsupport::HeapsAreValid());
}

} // namespace
