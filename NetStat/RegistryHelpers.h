// Registry helpers of the status applet.
//
// Each helper takes a root key and a sub-key path relative to it, opens (writers: opens
// or creates) that sub-key itself, does one value operation and closes what it opened.
// A null or empty sub-key means the root itself; the root is never closed. Results are
// TRUE only when every registry call succeeded; outputs are written only on success.
#pragma once

#include <windows.h>

// Capacity of ReadRegistryString when the caller gives none; its buffer must hold one
// byte more, for the terminating zero written after the data.
const DWORD REGISTRY_STRING_CAPACITY = 259;

// Opens or creates every component of lpszPath below hRoot, closing each intermediate key
// as soon as its child is open. Returns the last key, which the caller closes; hRoot
// itself for a null or empty path; null on failure (also for a path of 260 or more
// characters, which is refused before anything is created).
HKEY CreateRegistryKeyPath(HKEY hRoot, LPCSTR lpszPath);

BOOL WriteRegistryString(HKEY hRoot, LPCSTR lpszSubKey, LPCSTR lpszValueName, LPCSTR lpszText);

// Reads the raw bytes of a value of any type into lpszBuffer, which holds cbCapacity + 1
// bytes, and terminates them with a zero. A value longer than cbCapacity fails.
BOOL ReadRegistryString(HKEY hRoot, LPCSTR lpszSubKey, LPCSTR lpszValueName, LPSTR lpszBuffer,
                        DWORD cbCapacity = REGISTRY_STRING_CAPACITY);

BOOL WriteRegistryDword(HKEY hRoot, LPCSTR lpszSubKey, LPCSTR lpszValueName, DWORD dwValue);

// Reads a value of up to 4 bytes, of any type, into the low-order bytes of *lpdwValue;
// the other bytes keep what they held. A longer value fails and changes nothing.
BOOL ReadRegistryDword(HKEY hRoot, LPCSTR lpszSubKey, LPCSTR lpszValueName, DWORD *lpdwValue);

// Numbers are REG_DWORD on Windows NT before version 5 and signed decimal text (REG_SZ)
// on Windows 95, 98, Me, 2000 and XP, as the adapter's driver reads them there.
BOOL WriteRegistryNumber(HKEY hRoot, LPCSTR lpszSubKey, LPCSTR lpszValueName, LONG lValue);
BOOL ReadRegistryNumber(HKEY hRoot, LPCSTR lpszSubKey, LPCSTR lpszValueName, DWORD *lpdwValue);
