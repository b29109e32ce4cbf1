// Reading the library's name lists back in tests.
#pragma once

#include <string>
#include <vector>

#include "MacIoctl.h"

namespace librarytest {

struct Entry {
  std::string adapterName, description, keyPath;
  bool operator==(const Entry &other) const {
    return adapterName == other.adapterName && description == other.description &&
           keyPath == other.keyPath;
  }
};

// Parses a list of entryCount entries, checking that it is exactly listSize bytes long
// and ends with the empty string.
std::vector<Entry> ParseNameList(const MAC_NAME_LIST *list, LONG entryCount, DWORD listSize,
                                 bool withKeyPaths);

// MacGetNamesEx / MacGetNames, parsed and freed.
std::vector<Entry> GetNamesEx(bool allAdapters);
std::vector<Entry> GetNames();

void PrintTo(const Entry &entry, std::ostream *out);

} // namespace librarytest
