#include "RegistryHelpers.h"

#include <stdlib.h>
#include <string.h>

namespace {

// CreateRegistryKeyPath copies each remaining part of its path into a buffer this large.
const size_t KEY_PATH_BUFFER = 260;
const size_t NUMBER_TEXT_BUFFER = 32;

bool IsEmptyPath(LPCSTR lpszPath) { return lpszPath == NULL || *lpszPath == '\0'; }

// Windows NT 3.x and 4.0 store numbers as REG_DWORD; every other system as text.
bool NumbersAreDwords() {
  DWORD dwVersion = GetVersion();
  return (dwVersion & 0x80000000) == 0 && LOBYTE(LOWORD(dwVersion)) < 5;
}

LONG OpenForWriting(HKEY hRoot, LPCSTR lpszSubKey, HKEY *phKey) {
  if (IsEmptyPath(lpszSubKey)) {
    *phKey = hRoot;
    return ERROR_SUCCESS;
  }
  return RegCreateKeyExA(hRoot, lpszSubKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                         NULL, phKey, NULL);
}

LONG OpenForReading(HKEY hRoot, LPCSTR lpszSubKey, HKEY *phKey) {
  if (IsEmptyPath(lpszSubKey)) {
    *phKey = hRoot;
    return ERROR_SUCCESS;
  }
  return RegOpenKeyExA(hRoot, lpszSubKey, 0, KEY_QUERY_VALUE, phKey);
}

void CloseUnlessRoot(HKEY hKey, HKEY hRoot) {
  if (hKey != hRoot)
    RegCloseKey(hKey);
}

BOOL WriteValue(HKEY hRoot, LPCSTR lpszSubKey, LPCSTR lpszValueName, DWORD dwType,
                const void *pData, DWORD cbData) {
  HKEY hKey;
  if (OpenForWriting(hRoot, lpszSubKey, &hKey) != ERROR_SUCCESS)
    return FALSE;
  LONG lResult =
      RegSetValueExA(hKey, lpszValueName, 0, dwType, static_cast<const BYTE *>(pData), cbData);
  CloseUnlessRoot(hKey, hRoot);
  return lResult == ERROR_SUCCESS;
}

// Queries a value's raw bytes, whatever its type, into pData; *pcbData is the capacity
// on entry and the byte count on return.
BOOL QueryValue(HKEY hRoot, LPCSTR lpszSubKey, LPCSTR lpszValueName, void *pData,
                DWORD *pcbData) {
  HKEY hKey;
  if (OpenForReading(hRoot, lpszSubKey, &hKey) != ERROR_SUCCESS)
    return FALSE;
  DWORD dwType;
  LONG lResult =
      RegQueryValueExA(hKey, lpszValueName, NULL, &dwType, static_cast<BYTE *>(pData), pcbData);
  CloseUnlessRoot(hKey, hRoot);
  return lResult == ERROR_SUCCESS;
}

// The first backslash of a path in the ANSI code page: the second byte of a double-byte
// character is never a separator, even when it has the backslash's value.
char *FindSeparator(char *pszPath) {
  for (char *p = pszPath; *p != '\0'; ++p) {
    if (*p == '\\')
      return p;
    if (IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] != '\0')
      ++p;
  }
  return NULL;
}

} // namespace

HKEY CreateRegistryKeyPath(HKEY hRoot, LPCSTR lpszPath) {
  // Each remaining part of the path must fit the work buffer with its terminating zero.
  if (lpszPath != NULL && strlen(lpszPath) >= KEY_PATH_BUFFER)
    return NULL;
  HKEY hCurrent = hRoot;
  LPCSTR pszRest = lpszPath;
  while (!IsEmptyPath(pszRest)) {
    char szComponent[KEY_PATH_BUFFER];
    strcpy(szComponent, pszRest);
    char *pszSeparator = FindSeparator(szComponent);
    if (pszSeparator != NULL) {
      *pszSeparator = '\0';
      pszRest += (pszSeparator - szComponent) + 1;
    } else {
      pszRest = NULL;
    }
    HKEY hNext;
    LONG lResult = RegCreateKeyExA(hCurrent, szComponent, 0, NULL, REG_OPTION_NON_VOLATILE,
                                   KEY_ALL_ACCESS, NULL, &hNext, NULL);
    CloseUnlessRoot(hCurrent, hRoot);
    if (lResult != ERROR_SUCCESS)
      return NULL;
    hCurrent = hNext;
  }
  return hCurrent;
}

BOOL WriteRegistryString(HKEY hRoot, LPCSTR lpszSubKey, LPCSTR lpszValueName, LPCSTR lpszText) {
  return WriteValue(hRoot, lpszSubKey, lpszValueName, REG_SZ, lpszText,
                    static_cast<DWORD>(strlen(lpszText) + 1));
}

BOOL ReadRegistryString(HKEY hRoot, LPCSTR lpszSubKey, LPCSTR lpszValueName, LPSTR lpszBuffer,
                        DWORD cbCapacity) {
  DWORD cbData = cbCapacity;
  if (!QueryValue(hRoot, lpszSubKey, lpszValueName, lpszBuffer, &cbData))
    return FALSE;
  lpszBuffer[cbData] = '\0';
  return TRUE;
}

BOOL WriteRegistryDword(HKEY hRoot, LPCSTR lpszSubKey, LPCSTR lpszValueName, DWORD dwValue) {
  return WriteValue(hRoot, lpszSubKey, lpszValueName, REG_DWORD, &dwValue, sizeof(dwValue));
}

BOOL ReadRegistryDword(HKEY hRoot, LPCSTR lpszSubKey, LPCSTR lpszValueName, DWORD *lpdwValue) {
  // Read into a copy: a failed query may leave part of a longer value in its buffer,
  // and the caller's pre-loaded default must survive any failure.
  DWORD dwValue = *lpdwValue;
  DWORD cbData = sizeof(dwValue);
  if (!QueryValue(hRoot, lpszSubKey, lpszValueName, &dwValue, &cbData))
    return FALSE;
  *lpdwValue = dwValue;
  return TRUE;
}

BOOL WriteRegistryNumber(HKEY hRoot, LPCSTR lpszSubKey, LPCSTR lpszValueName, LONG lValue) {
  if (NumbersAreDwords())
    return WriteRegistryDword(hRoot, lpszSubKey, lpszValueName, static_cast<DWORD>(lValue));
  char szText[NUMBER_TEXT_BUFFER];
  wsprintfA(szText, "%ld", lValue);
  return WriteRegistryString(hRoot, lpszSubKey, lpszValueName, szText);
}

BOOL ReadRegistryNumber(HKEY hRoot, LPCSTR lpszSubKey, LPCSTR lpszValueName, DWORD *lpdwValue) {
  if (NumbersAreDwords())
    return ReadRegistryDword(hRoot, lpszSubKey, lpszValueName, lpdwValue);
  char szText[REGISTRY_STRING_CAPACITY + 1];
  if (!ReadRegistryString(hRoot, lpszSubKey, lpszValueName, szText, REGISTRY_STRING_CAPACITY))
    return FALSE;
  *lpdwValue = strtoul(szText, NULL, 10);
  return TRUE;
}
