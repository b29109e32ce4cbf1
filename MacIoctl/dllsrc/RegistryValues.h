// Reading the registry values the adapter walks rely on. Every value is read into a
// fixed buffer; anything that does not fit counts as absent.
#pragma once

#include <windows.h>

// The marker value "TARNUIOC" whose presence (any type, at most 256 bytes) marks an
// adapter of this system.
bool HasMarkerValue(HKEY key);

// Reads a REG_SZ or REG_EXPAND_SZ value (unexpanded) as a NUL-terminated string of at
// most bufferSize - 1 characters. Absent values, other types, values too large and
// empty strings count as absent: an empty adapter name would end a name list early.
bool ReadStringValue(HKEY key, const char *name, char *buffer, DWORD bufferSize);
