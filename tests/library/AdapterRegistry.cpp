#include "AdapterRegistry.h"

#include <gtest/gtest.h>

namespace librarytest {

const char kNt5ClassKey[] =
    "System\\CurrentControlSet\\Control\\Class\\{4d36e972-e325-11ce-bfc1-08002be10318}";
const char kWin9xClassKey[] = "System\\CurrentControlSet\\Services\\Class\\Net";
const char kNt4CardsKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
const char kServicesKey[] = "System\\CurrentControlSet\\Services\\";

RegistryValue RegistryValue::Text(const std::string &name, const std::string &text) {
  return RegistryValue{name, REG_SZ, std::string(text.c_str(), text.size() + 1)};
}

RegistryValue RegistryValue::Dword(const std::string &name, DWORD value) {
  return RegistryValue{name, REG_DWORD,
                       std::string(reinterpret_cast<const char *>(&value), sizeof(value))};
}

RegistryValue Marker() { return RegistryValue::Dword("TARNUIOC", 1); }

AdapterRegistry::AdapterRegistry() = default;
AdapterRegistry::~AdapterRegistry() { Clear(); }

void AdapterRegistry::Clear() {
  while (!m_trees.empty())
    m_trees.pop_back();
}

bool AdapterRegistry::Nt5Mode() const {
  // The library picks the location from the major version: odd is 2000/XP.
  return (LOBYTE(LOWORD(GetVersion())) & 1) != 0;
}

const char *AdapterRegistry::ClassKey() const {
  return Nt5Mode() ? kNt5ClassKey : kWin9xClassKey;
}

void AdapterRegistry::Own(const std::string &path) {
  // A parent that did not exist before is the fixture's own as well.
  size_t slash = path.find_last_of('\\');
  HKEY key;
  if (slash != std::string::npos &&
      RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.substr(0, slash).c_str(), 0, KEY_READ, &key) ==
          ERROR_SUCCESS)
    RegCloseKey(key);
  else if (slash != std::string::npos)
    Own(path.substr(0, slash));
  m_trees.push_back(std::make_unique<testsupport::ScopedRegistryTree>(HKEY_LOCAL_MACHINE,
                                                                        path.c_str()));
}

void AdapterRegistry::CreateKey(const std::string &path, const std::vector<RegistryValue> &values) {
  Own(path);
  HKEY key;
  LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr);
  // Wine keeps some keys, the NT 4 network card list among them, only in memory.
  if (result == ERROR_CHILD_MUST_BE_VOLATILE)
    result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                             KEY_ALL_ACCESS, nullptr, &key, nullptr);
  ASSERT_EQ(ERROR_SUCCESS, result) << path;
  for (const RegistryValue &value : values)
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExA(key, value.name.c_str(), 0, value.type,
                             reinterpret_cast<const BYTE *>(value.data.data()),
                             static_cast<DWORD>(value.data.size())))
        << path << " " << value.name;
  RegCloseKey(key);
}

void AdapterRegistry::AddClassInstance(const std::string &instanceKey,
                                       const std::vector<RegistryValue> &values) {
  CreateKey(std::string(ClassKey()) + "\\" + instanceKey, values);
}

void AdapterRegistry::AddMarkedInstance(const std::string &instanceKey,
                                        const std::string &instanceId,
                                        const std::string &driverDesc) {
  AddClassInstance(instanceKey, {Marker(), RegistryValue::Text("NetCfgInstanceId", instanceId),
                                 RegistryValue::Text("DriverDesc", driverDesc)});
}

std::string AdapterRegistry::ClassAdapterName(const std::string &instanceKey,
                                              const std::string &instanceId) const {
  return Nt5Mode() ? instanceId : instanceKey;
}

Entry AdapterRegistry::AddAdapter(const std::string &key, const std::string &adapterName,
                                  const std::string &text) {
  if (testsupport::VersionUnderTest() == testsupport::WindowsVersion::NT4) {
    AddNt4Card(key, adapterName, text, {Marker()});
    return Entry{adapterName, text, Nt4ParametersPath(adapterName)};
  }
  AddMarkedInstance(key, adapterName, text);
  return Entry{ClassAdapterName(key, adapterName), "[" + key + "] " + text,
               std::string(ClassKey()) + "\\" + key};
}

std::string AdapterRegistry::Nt4ParametersPath(const std::string &serviceName) {
  return std::string(kServicesKey) + serviceName + "\\Parameters";
}

void AdapterRegistry::AddNt4Card(const std::string &cardKey, const std::string &serviceName,
                                 const std::string &title,
                                 const std::vector<RegistryValue> &parameters) {
  std::vector<RegistryValue> card{RegistryValue::Text("ServiceName", serviceName)};
  if (!title.empty())
    card.push_back(RegistryValue::Text("Title", title));
  CreateKey(std::string(kNt4CardsKey) + "\\" + cardKey, card);
  CreateKey(std::string(kServicesKey) + serviceName, {});
  CreateKey(Nt4ParametersPath(serviceName), parameters);
}

} // namespace librarytest
