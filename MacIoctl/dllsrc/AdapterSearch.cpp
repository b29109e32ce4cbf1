// MacFindFirstMatch and MacFindFirstMatchEx: pick the first listed adapter that matches
// and copy its strings to the caller.
#include <mbstring.h>
#include <string.h>

#include "NameList.h"

namespace {

// Every listed string fits the callers' buffers; the bound guards them all the same.
void CopyToCaller(char *buffer, const char *text) {
  lstrcpynA(buffer, text, MAC_NAME_BUFFER_BYTES);
}

bool DescriptionContains(const char *description, const char *text) {
  return _mbsstr(reinterpret_cast<const unsigned char *>(description),
                 reinterpret_cast<const unsigned char *>(text)) != nullptr;
}

// Finds the first entry that matches; the list is freed before returning.
template <typename Matches, typename Take>
BYTE FindFirst(MAC_NAME_LIST *list, LONG entryCount, bool withKeyPaths, Matches matches,
               Take take) {
  NameListReader reader(list, entryCount, withKeyPaths);
  NameEntry entry;
  BYTE found = 0;
  while (!found && reader.Next(&entry))
    if (matches(entry)) {
      take(entry);
      found = 1;
    }
  MacFreeNames(list);
  return found;
}

} // namespace

extern "C" BYTE MACAPI MacFindFirstMatch(char *text) {
  LONG entryCount;
  DWORD listSize;
  MAC_NAME_LIST *list = MacGetNames(&entryCount, &listSize);
  return FindFirst(
      list, entryCount, false,
      [&](const NameEntry &entry) {
        return text[0] == '\0' || DescriptionContains(entry.description, text);
      },
      [&](const NameEntry &entry) { CopyToCaller(text, entry.adapterName); });
}

extern "C" BYTE MACAPI MacFindFirstMatchEx(char *adapterName, char *description,
                                           char *keyPath, DWORD allAdapters) {
  LONG entryCount;
  DWORD listSize;
  MAC_NAME_LIST *list = MacGetNamesEx(&entryCount, &listSize, allAdapters);
  return FindFirst(
      list, entryCount, true,
      [&](const NameEntry &entry) {
        if (adapterName[0] != '\0')
          return strcmp(entry.adapterName, adapterName) == 0;
        return description[0] == '\0' || DescriptionContains(entry.description, description);
      },
      [&](const NameEntry &entry) {
        CopyToCaller(adapterName, entry.adapterName);
        CopyToCaller(description, entry.description);
        CopyToCaller(keyPath, entry.keyPath);
      });
}
