// The registry of the simulated machine: two hives of keys with typed
// values, case-insensitive names, and open handles per process with their
// access rights.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/registry_port.h"
#include "platform/sim/machine_config.h"
#include "platform/sim/model/process_id.h"

namespace plat::sim {

struct RegistryNode {
  std::wstring name;
  RegistryNode* parent = nullptr;
  bool readOnly = false;
  bool deleted = false;
  std::map<std::wstring, std::shared_ptr<RegistryNode>> subkeys;  // by folded name
  std::vector<RegistryValueConfig> values;                        // in the order written
};

class RegistryTree {
 public:
  explicit RegistryTree(const std::vector<RegistryKeyConfig>& keys);

  // Every key below the roots, parents first, as a machine file lists them.
  [[nodiscard]] std::vector<RegistryKeyConfig> save() const;

  Result<CreatedKey> open(ProcessId process, RegKey parent, const std::wstring& subKey,
                          Dword access, bool create);
  Result<RegValue> query(ProcessId process, RegKey key, const std::wstring& name,
                         std::optional<Dword> bufferBytes);
  Dword set(ProcessId process, RegKey key, const std::wstring& name, Dword type,
            const std::vector<std::uint8_t>& data);
  Dword deleteValue(ProcessId process, RegKey key, const std::wstring& name);
  Dword deleteKey(ProcessId process, RegKey parent, const std::wstring& subKey);
  Result<std::wstring> enumKey(ProcessId process, RegKey key, Dword index, Dword nameChars);
  Result<RegValue> enumValue(ProcessId process, RegKey key, Dword index);
  Dword flush(ProcessId process, RegKey key);
  Dword close(ProcessId process, RegKey key);
  // The process has ended: its handles go with it.
  void closeAll(ProcessId process);
  Result<RegKeyInfo> queryInfo(ProcessId process, RegKey key);

  // The machine's own records (the spooler's views), written without
  // handles or rights: whether a key exists, a key created with its
  // parents and the given values set, and a key removed with its subkeys.
  [[nodiscard]] bool hasKey(const std::wstring& path) const;
  void writeKey(const std::wstring& path, const std::vector<RegistryValueConfig>& values);
  void removeTree(const std::wstring& path);

 private:
  struct OpenKey {
    ProcessId process = 0;
    std::shared_ptr<RegistryNode> node;
    Dword access = 0;
  };
  struct Resolved {
    Dword error = kErrorSuccess;
    std::shared_ptr<RegistryNode> node;
    Dword access = 0;
  };

  [[nodiscard]] Resolved resolve(ProcessId process, RegKey key, Dword needed) const;
  std::shared_ptr<RegistryNode> createPath(const std::wstring& path);
  RegKey addHandle(ProcessId process, std::shared_ptr<RegistryNode> node, Dword access);
  [[nodiscard]] std::shared_ptr<RegistryNode> rootNamed(const std::wstring& name) const;
  [[nodiscard]] std::shared_ptr<RegistryNode> findPath(const std::wstring& path) const;

  std::shared_ptr<RegistryNode> machine_;
  std::shared_ptr<RegistryNode> user_;
  std::map<RegKey, OpenKey> handles_;
  RegKey nextHandle_ = 0x200;
};

}  // namespace plat::sim
