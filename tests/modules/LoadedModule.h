// A module loaded from a path relative to the test program, freed when the test ends.
#pragma once

#include <windows.h>

#include <string>

#include "TestSupport.h"

class LoadedModule {
public:
  explicit LoadedModule(const char *relativePath)
      : m_module(LoadLibraryA(testsupport::PathBesideProgram(relativePath).c_str())) {}
  ~LoadedModule() {
    if (m_module)
      FreeLibrary(m_module);
  }
  LoadedModule(const LoadedModule &) = delete;
  LoadedModule &operator=(const LoadedModule &) = delete;

  HMODULE Handle() const { return m_module; }

  // An exported entry as the caller's function type; null if missing.
  template <typename Proc> Proc Entry(const char *name) const {
    return m_module ? reinterpret_cast<Proc>(reinterpret_cast<void *>(GetProcAddress(m_module, name)))
                    : NULL;
  }

private:
  HMODULE m_module;
};
