// Registry fixtures for the library tests: marked adapters in the locations the library
// walks, for the Windows version the test runs as. Every key a fixture creates is removed
// again when it is destroyed.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "NameLists.h"
#include "TestSupport.h"

namespace librarytest {

extern const char kNt5ClassKey[];
extern const char kWin9xClassKey[];
extern const char kNt4CardsKey[];
extern const char kServicesKey[];

// One registry value with raw data, so that tests can write any type and size.
struct RegistryValue {
  std::string name;
  DWORD type;
  std::string data;

  // A REG_SZ value with its NUL.
  static RegistryValue Text(const std::string &name, const std::string &text);
  static RegistryValue Dword(const std::string &name, DWORD value);
};

// A marker value as the adapter installation writes it.
RegistryValue Marker();

class AdapterRegistry {
public:
  AdapterRegistry();
  ~AdapterRegistry();

  // The class key the class-key walk reads on this version (2000/XP or 9x location).
  const char *ClassKey() const;
  bool Nt5Mode() const;

  // Creates ClassKey()\instanceKey with exactly these values.
  void AddClassInstance(const std::string &instanceKey, const std::vector<RegistryValue> &values);
  // A marked instance with a NetCfgInstanceId (2000/XP) and a DriverDesc.
  void AddMarkedInstance(const std::string &instanceKey, const std::string &instanceId,
                         const std::string &driverDesc);
  // The adapter name the walk gives such an instance on this version.
  std::string ClassAdapterName(const std::string &instanceKey, const std::string &instanceId) const;

  // A marked adapter where the walk of this version finds it (NT 4 card list or class
  // key) under registry key `key`; returns the entry the walk should list for it.
  Entry AddAdapter(const std::string &key, const std::string &adapterName,
                   const std::string &text);

  // NT 4: a card key with ServiceName and Title (empty: not written), and the service's
  // Parameters key with the given values.
  void AddNt4Card(const std::string &cardKey, const std::string &serviceName,
                  const std::string &title, const std::vector<RegistryValue> &parameters);
  static std::string Nt4ParametersPath(const std::string &serviceName);

  // Removes every key created so far.
  void Clear();

private:
  void CreateKey(const std::string &path, const std::vector<RegistryValue> &values);
  void Own(const std::string &path);

  std::vector<std::unique_ptr<testsupport::ScopedRegistryTree>> m_trees;
};

} // namespace librarytest
