#include "NameLists.h"

#include <gtest/gtest.h>

#include <cstring>

namespace librarytest {

std::vector<Entry> ParseNameList(const MAC_NAME_LIST *list, LONG entryCount, DWORD listSize,
                                 bool withKeyPaths) {
  std::vector<Entry> entries;
  if (!list) {
    EXPECT_EQ(0, entryCount);
    EXPECT_EQ(0u, listSize);
    return entries;
  }
  const char *next = list->strings;
  const char *end = next + listSize;
  auto take = [&](std::string *text) {
    size_t length = strnlen(next, end - next);
    EXPECT_LT(next + length, end) << "string runs past the reported size";
    text->assign(next, length);
    next += length + 1;
  };
  for (LONG i = 0; i < entryCount && next < end; ++i) {
    Entry entry;
    take(&entry.adapterName);
    take(&entry.description);
    if (withKeyPaths)
      take(&entry.keyPath);
    entries.push_back(entry);
  }
  EXPECT_EQ(static_cast<size_t>(entryCount), entries.size());
  EXPECT_EQ(end - 1, next) << "list size must count the strings and one closing NUL";
  if (next < end) {
    EXPECT_EQ('\0', *next);
  }
  return entries;
}

std::vector<Entry> GetNamesEx(bool allAdapters) {
  LONG count = -1;
  DWORD size = 0xDEADBEEF;
  MAC_NAME_LIST *list = MacGetNamesEx(&count, &size, allAdapters ? 1 : 0);
  std::vector<Entry> entries = ParseNameList(list, count, size, true);
  MacFreeNames(list);
  return entries;
}

std::vector<Entry> GetNames() {
  LONG count = -1;
  DWORD size = 0xDEADBEEF;
  MAC_NAME_LIST *list = MacGetNames(&count, &size);
  std::vector<Entry> entries = ParseNameList(list, count, size, false);
  MacFreeNames(list);
  return entries;
}

void PrintTo(const Entry &entry, std::ostream *out) {
  *out << "{" << entry.adapterName << " | " << entry.description << " | " << entry.keyPath
       << "}";
}

} // namespace librarytest
