#include "NameList.h"

#include <string.h>

namespace {

HANDLE ListHeap() { return GetProcessHeap(); }

} // namespace

NameListBuilder::~NameListBuilder() {
  if (m_block)
    HeapFree(ListHeap(), 0, m_block);
}

bool NameListBuilder::Grow(DWORD extra) {
  void *grown = m_block ? HeapReAlloc(ListHeap(), 0, m_block, m_size + extra)
                        : HeapAlloc(ListHeap(), 0, extra);
  if (!grown)
    return false;
  m_block = static_cast<char *>(grown);
  return true;
}

bool NameListBuilder::Append(const NameEntry &entry) {
  const char *strings[3] = {entry.adapterName, entry.description,
                            m_withKeyPaths ? entry.keyPath : nullptr};
  int stringCount = m_withKeyPaths ? 3 : 2;
  DWORD lengths[3] = {};
  DWORD extra = 0;
  for (int i = 0; i < stringCount; ++i) {
    lengths[i] = static_cast<DWORD>(strlen(strings[i]) + 1);
    extra += lengths[i];
  }
  if (!Grow(extra))
    return false;
  for (int i = 0; i < stringCount; ++i) {
    memcpy(m_block + m_size, strings[i], lengths[i]);
    m_size += lengths[i];
  }
  ++m_entryCount;
  return true;
}

bool NameListBuilder::Contains(bool (*sameAdapter)(const char *, const char *),
                               const char *candidate) const {
  NameListReader reader(reinterpret_cast<const MAC_NAME_LIST *>(m_block), m_entryCount,
                        m_withKeyPaths);
  NameEntry entry;
  while (reader.Next(&entry))
    if (sameAdapter(entry.adapterName, candidate))
      return true;
  return false;
}

MAC_NAME_LIST *NameListBuilder::Finish(LONG *entryCount, DWORD *listSize) {
  *entryCount = 0;
  *listSize = 0;
  if (m_entryCount == 0)
    return nullptr;
  // Without memory for the closing empty string the entry count still bounds a reader.
  if (Grow(1))
    m_block[m_size++] = '\0';
  *entryCount = m_entryCount;
  *listSize = m_size;
  MAC_NAME_LIST *list = reinterpret_cast<MAC_NAME_LIST *>(m_block);
  m_block = nullptr;
  m_size = 0;
  m_entryCount = 0;
  return list;
}

bool NameListReader::Next(NameEntry *entry) {
  if (m_remaining <= 0 || !m_next || *m_next == '\0')
    return false;
  entry->adapterName = m_next;
  m_next += strlen(m_next) + 1;
  entry->description = m_next;
  m_next += strlen(m_next) + 1;
  entry->keyPath = nullptr;
  if (m_withKeyPaths) {
    entry->keyPath = m_next;
    m_next += strlen(m_next) + 1;
  }
  --m_remaining;
  return true;
}

extern "C" void MACAPI MacFreeNames(MAC_NAME_LIST *list) {
  if (list)
    HeapFree(ListHeap(), 0, list);
}
