// Helpers shared by the tests that run under Wine.
#pragma once

#include <windows.h>
#include <string>

namespace testsupport {

// The Windows version this test program was started as (wine-run --version).
enum class WindowsVersion { Default, Win98, NT4, Win2000, WinXP };
WindowsVersion VersionUnderTest();
const char *VersionName(WindowsVersion version);

// Number of handles open in this process. Wine's GetProcessHandleCount always
// answers 0, so every plausible handle value is asked for instead.
unsigned CountOpenHandles();

// Installs a kernel-mode driver as a demand-start service of the prefix and starts it:
// the .sys file is copied to system32\drivers. Already installed or running is fine.
// Returns an empty string, or what failed.
std::string InstallKernelDriver(const char *serviceName, const char *sysFilePath);

// Full path of a file in the folder of this test program.
std::string PathBesideProgram(const char *fileName);

// Deletes a registry key with everything below it; a missing key is fine.
void DeleteRegistryTree(HKEY root, const char *path);

// A test's own registry key: removed when the test starts and again when it ends.
class ScopedRegistryTree {
public:
  ScopedRegistryTree(HKEY root, const char *path) : m_root(root), m_path(path) {
    DeleteRegistryTree(m_root, path);
  }
  ~ScopedRegistryTree() { DeleteRegistryTree(m_root, m_path.c_str()); }
  ScopedRegistryTree(const ScopedRegistryTree &) = delete;
  ScopedRegistryTree &operator=(const ScopedRegistryTree &) = delete;
  const char *Path() const { return m_path.c_str(); }

private:
  HKEY m_root;
  std::string m_path;
};

// Makes a heap overrun or a write after free visible at the end of a test: Wine checks
// heap blocks only when asked to.
bool HeapsAreValid();

} // namespace testsupport
