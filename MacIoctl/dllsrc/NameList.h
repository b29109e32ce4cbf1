// Building a name list (MAC_NAME_LIST) on the library's own heap, one whole entry at a
// time, and reading it back.
#pragma once

#include "MacIoctl.h"

// The strings of one adapter, in list order; keyPath is null in two-string lists.
struct NameEntry {
  const char *adapterName;
  const char *description;
  const char *keyPath;
};

class NameListBuilder {
public:
  NameListBuilder() = default;
  NameListBuilder(const NameListBuilder &) = delete;
  NameListBuilder &operator=(const NameListBuilder &) = delete;
  ~NameListBuilder();

  // Appends all strings of the entry or, when memory runs out, none (false).
  bool Append(const NameEntry &entry);
  // True when an entry's adapter name matches by the given test.
  bool Contains(bool (*sameAdapter)(const char *listed, const char *candidate),
                const char *candidate) const;
  bool WithKeyPaths() const { return m_withKeyPaths; }
  void SetWithKeyPaths(bool withKeyPaths) { m_withKeyPaths = withKeyPaths; }
  LONG EntryCount() const { return m_entryCount; }

  // Adds the closing empty string (when there are entries) and hands the block over;
  // null when the list is empty.
  MAC_NAME_LIST *Finish(LONG *entryCount, DWORD *listSize);

private:
  bool Grow(DWORD extra);

  char *m_block = nullptr;
  DWORD m_size = 0;
  LONG m_entryCount = 0;
  bool m_withKeyPaths = false;
};

// Walks a finished list: at most entryCount entries, stopping early at an empty adapter
// name.
class NameListReader {
public:
  NameListReader(const MAC_NAME_LIST *list, LONG entryCount, bool withKeyPaths)
      : m_next(list ? list->strings : nullptr), m_remaining(list ? entryCount : 0),
        m_withKeyPaths(withKeyPaths) {}
  bool Next(NameEntry *entry);

private:
  const char *m_next;
  LONG m_remaining;
  bool m_withKeyPaths;
};
