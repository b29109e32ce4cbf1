// CString: an owned, zero-terminated ANSI string.
#pragma once

#include <windows.h>

class CString {
public:
  CString();
  CString(LPCSTR psz);
  CString(const CString &other);
  ~CString();
  CString &operator=(LPCSTR psz);
  CString &operator=(const CString &other);
  CString &operator+=(LPCSTR psz);

  int GetLength() const { return m_nLength; }
  BOOL IsEmpty() const { return m_nLength == 0; }
  void Empty();
  operator LPCSTR() const { return m_pszData; }

  // Index of the first occurrence at or after nStart, or -1.
  int Find(LPCSTR pszSub, int nStart = 0) const;
  int Find(char ch, int nStart = 0) const;

  // String nID of the resource module (AfxGetResourceHandle); an empty string and
  // FALSE when the module has none.
  BOOL LoadString(UINT nID);

  // printf rules (the C runtime's), any length.
  void Format(LPCSTR pszFormat, ...);

  // Room for nMinLength characters to be written directly; ReleaseBuffer then takes
  // the length up to the first zero.
  LPSTR GetBuffer(int nMinLength);
  void ReleaseBuffer();

private:
  void Assign(LPCSTR psz, int nLength);
  void Reserve(int nLength);

  LPSTR m_pszData;
  int m_nLength;
  int m_nCapacity;
};
