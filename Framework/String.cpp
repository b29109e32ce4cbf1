#include "String.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "WinApp.h"

// Every empty string shares this terminator until it needs room of its own.
static char g_szEmpty[1] = "";

CString::CString() : m_pszData(g_szEmpty), m_nLength(0), m_nCapacity(0) {}

CString::CString(LPCSTR psz) : CString() { *this = psz; }

CString::CString(const CString &other) : CString() { Assign(other.m_pszData, other.m_nLength); }

CString::~CString() {
  if (m_nCapacity != 0)
    free(m_pszData);
}

CString &CString::operator=(LPCSTR psz) {
  if (psz == nullptr)
    psz = "";
  Assign(psz, static_cast<int>(strlen(psz)));
  return *this;
}

CString &CString::operator=(const CString &other) {
  if (this != &other)
    Assign(other.m_pszData, other.m_nLength);
  return *this;
}

CString &CString::operator+=(LPCSTR psz) {
  if (psz == nullptr)
    return *this;
  int nAdd = static_cast<int>(strlen(psz));
  // psz may point into this string: copy it before the buffer can move.
  CString copy;
  if (psz >= m_pszData && psz <= m_pszData + m_nLength) {
    copy.Assign(psz, nAdd);
    psz = copy.m_pszData;
  }
  Reserve(m_nLength + nAdd);
  memcpy(m_pszData + m_nLength, psz, nAdd + 1);
  m_nLength += nAdd;
  return *this;
}

void CString::Empty() {
  if (m_nCapacity != 0)
    free(m_pszData);
  m_pszData = g_szEmpty;
  m_nLength = 0;
  m_nCapacity = 0;
}

int CString::Find(LPCSTR pszSub, int nStart) const {
  if (pszSub == nullptr || nStart < 0 || nStart > m_nLength)
    return -1;
  LPCSTR found = strstr(m_pszData + nStart, pszSub);
  return found ? static_cast<int>(found - m_pszData) : -1;
}

int CString::Find(char ch, int nStart) const {
  if (nStart < 0 || nStart >= m_nLength)
    return -1;
  LPCSTR found = static_cast<LPCSTR>(memchr(m_pszData + nStart, ch, m_nLength - nStart));
  return found ? static_cast<int>(found - m_pszData) : -1;
}

BOOL CString::LoadString(UINT nID) {
  // LoadString truncates silently: a result that fills the buffer may have been cut.
  for (int nSize = 256;; nSize *= 2) {
    LPSTR buffer = GetBuffer(nSize - 1);
    int nLoaded = ::LoadStringA(AfxGetResourceHandle(), nID, buffer, nSize);
    if (nLoaded < nSize - 1 || nSize >= 65536) {
      buffer[nLoaded] = '\0';
      ReleaseBuffer();
      return nLoaded > 0;
    }
  }
}

void CString::Format(LPCSTR pszFormat, ...) {
  // The C runtime answers -1 when the text does not fit: grow until it does (up to a
  // length no caller comes near).
  for (int nSize = 256;; nSize *= 2) {
    va_list args;
    va_start(args, pszFormat);
    CString result;
    LPSTR buffer = result.GetBuffer(nSize);
    int nWritten = _vsnprintf(buffer, nSize, pszFormat, args);
    va_end(args);
    if (nWritten < 0 || nWritten >= nSize) {
      if (nSize < 65536)
        continue;
      nWritten = nSize - 1;
    }
    buffer[nWritten] = '\0';
    result.ReleaseBuffer();
    *this = result;
    return;
  }
}

LPSTR CString::GetBuffer(int nMinLength) {
  Reserve(nMinLength);
  return m_pszData;
}

void CString::ReleaseBuffer() {
  m_nLength = static_cast<int>(strlen(m_pszData));
}

void CString::Assign(LPCSTR psz, int nLength) {
  if (nLength == 0) {
    Empty();
    return;
  }
  Reserve(nLength);
  memmove(m_pszData, psz, nLength);
  m_pszData[nLength] = '\0';
  m_nLength = nLength;
}

void CString::Reserve(int nLength) {
  if (nLength <= m_nCapacity && m_nCapacity != 0)
    return;
  int nCapacity = nLength < 15 ? 15 : nLength;
  LPSTR data = static_cast<LPSTR>(malloc(nCapacity + 1));
  if (data == nullptr)
    abort();
  memcpy(data, m_pszData, m_nLength + 1);
  if (m_nCapacity != 0)
    free(m_pszData);
  m_pszData = data;
  m_nCapacity = nCapacity;
}
