#include "CallLog.h"

#include <stdio.h>

namespace calllog {
namespace {

std::string KeyPath(const char *module) { return std::string(kRoot) + "\\" + module; }

} // namespace

bool Append(const char *module, const std::string &line) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath(module).c_str(), 0, NULL, 0, KEY_ALL_ACCESS,
                      NULL, &key, NULL) != ERROR_SUCCESS)
    return false;
  DWORD count = 0;
  RegQueryInfoKeyA(key, NULL, NULL, NULL, NULL, NULL, NULL, &count, NULL, NULL, NULL, NULL);
  char name[16];
  snprintf(name, sizeof name, "%lu", static_cast<unsigned long>(count));
  LONG result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(line.c_str()),
                               static_cast<DWORD>(line.size() + 1));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

std::vector<std::string> Read(const char *module) {
  std::vector<std::string> lines;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath(module).c_str(), 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return lines;
  for (unsigned long index = 0;; ++index) {
    char name[16];
    snprintf(name, sizeof name, "%lu", index);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, NULL, &type, NULL, &size) != ERROR_SUCCESS || type != REG_SZ)
      break;
    std::string text(size, '\0');
    if (RegQueryValueExA(key, name, NULL, NULL, reinterpret_cast<BYTE *>(&text[0]), &size) !=
        ERROR_SUCCESS)
      break;
    text.resize(text.find('\0') == std::string::npos ? size : text.find('\0'));
    lines.push_back(text);
  }
  RegCloseKey(key);
  return lines;
}

void Clear(const char *module) { RegDeleteKeyA(HKEY_CURRENT_USER, KeyPath(module).c_str()); }

} // namespace calllog
