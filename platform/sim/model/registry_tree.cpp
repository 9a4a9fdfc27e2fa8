#include "platform/sim/model/registry_tree.h"

#include <algorithm>

namespace plat::sim {

namespace {

constexpr Dword kWriteDac = 0x00040000;
constexpr Dword kWriteOwner = 0x00080000;
constexpr Dword kWriteRights =
    kKeySetValue | kKeyCreateSubKey | kKeyCreateLink | kStandardDelete | kWriteDac | kWriteOwner;

constexpr wchar_t kMachineRoot[] = L"HKEY_LOCAL_MACHINE";
constexpr wchar_t kUserRoot[] = L"HKEY_CURRENT_USER";

// Registry names compare without regard to letter case.
std::wstring fold(const std::wstring& name) {
  std::wstring out = name;
  for (wchar_t& c : out) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return out;
}

// The components of a subkey path; nullopt for a malformed one (a leading
// or doubled backslash). A trailing backslash is allowed.
std::optional<std::vector<std::wstring>> splitPath(const std::wstring& path) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  while (start < path.size()) {
    const std::size_t end = std::min(path.find(L'\\', start), path.size());
    if (end == start) return std::nullopt;
    parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

bool readOnlyAbove(const RegistryNode* node) {
  for (; node != nullptr; node = node->parent) {
    if (node->readOnly) return true;
  }
  return false;
}

std::wstring fullPath(const RegistryNode& node) {
  return node.parent == nullptr ? node.name : fullPath(*node.parent) + L"\\" + node.name;
}

std::vector<RegistryValueConfig>::iterator findValue(RegistryNode& node, const std::wstring& name) {
  const std::wstring folded = fold(name);
  return std::find_if(node.values.begin(), node.values.end(),
                      [&](const RegistryValueConfig& v) { return fold(v.name) == folded; });
}

void markDeleted(RegistryNode& node) {
  node.deleted = true;
  for (auto& [name, child] : node.subkeys) markDeleted(*child);
}

void saveNode(const RegistryNode& node, std::vector<RegistryKeyConfig>& out) {
  for (const auto& [name, child] : node.subkeys) {
    out.push_back({fullPath(*child), child->readOnly, child->values});
    saveNode(*child, out);
  }
}

}  // namespace

std::vector<RegistryKeyConfig> defaultRegistry() {
  const std::wstring fonts =
      L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
  const std::wstring print = L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print";
  return {
      {print + L"\\Environments\\Windows NT x86\\Drivers\\Version-3", false, {}},
      {print + L"\\Environments\\Windows x64\\Drivers\\Version-3", false, {}},
      {print + L"\\Printers", false, {}},
      {L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\"
       L"Compatibility Assistant\\Persisted",
       false,
       {}},
      {fonts,
       true,
       {{L"Arial (TrueType)", kRegSz, regSzData(L"arial.ttf")},
        {L"Malgun Gothic (TrueType)", kRegSz, regSzData(L"malgun.ttf")},
        {L"Microsoft YaHei (TrueType)", kRegSz, regSzData(L"msyh.ttf")},
        {L"SimSun & NSimSun (TrueType)", kRegSz, regSzData(L"simsun.ttc")}}},
  };
}

RegistryTree::RegistryTree(const std::vector<RegistryKeyConfig>& keys)
    : machine_(std::make_shared<RegistryNode>()), user_(std::make_shared<RegistryNode>()) {
  machine_->name = kMachineRoot;
  user_->name = kUserRoot;
  for (const auto& key : keys) {
    const std::shared_ptr<RegistryNode> node = createPath(key.path);
    if (!node) continue;
    node->readOnly = key.readOnly;
    node->values = key.values;
  }
}

std::shared_ptr<RegistryNode> RegistryTree::rootNamed(const std::wstring& name) const {
  if (fold(name) == fold(kMachineRoot)) return machine_;
  if (fold(name) == fold(kUserRoot)) return user_;
  return nullptr;
}

std::shared_ptr<RegistryNode> RegistryTree::createPath(const std::wstring& path) {
  const auto parts = splitPath(path);
  if (!parts || parts->empty()) return nullptr;
  std::shared_ptr<RegistryNode> node = rootNamed((*parts)[0]);
  for (std::size_t i = 1; node && i < parts->size(); ++i) {
    auto& slot = node->subkeys[fold((*parts)[i])];
    if (!slot) {
      slot = std::make_shared<RegistryNode>();
      slot->name = (*parts)[i];
      slot->parent = node.get();
    }
    node = slot;
  }
  return node;
}

std::vector<RegistryKeyConfig> RegistryTree::save() const {
  std::vector<RegistryKeyConfig> out;
  saveNode(*machine_, out);
  saveNode(*user_, out);
  return out;
}

RegistryTree::Resolved RegistryTree::resolve(ProcessId process, RegKey key, Dword needed) const {
  Resolved out;
  if (key == kHkeyLocalMachine || key == kHkeyCurrentUser) {
    out.node = key == kHkeyLocalMachine ? machine_ : user_;
    out.access = kKeyAllAccess;
  } else {
    const auto found = handles_.find(key);
    if (found == handles_.end() || found->second.process != process) {
      out.error = kErrorInvalidHandle;
      return out;
    }
    out.node = found->second.node;
    out.access = found->second.access;
  }
  if (out.node->deleted) {
    out.error = kErrorKeyDeleted;
  } else if ((out.access & needed) != needed) {
    out.error = kErrorAccessDenied;
  }
  return out;
}

RegKey RegistryTree::addHandle(ProcessId process, std::shared_ptr<RegistryNode> node,
                               Dword access) {
  const RegKey key = nextHandle_;
  nextHandle_ += 4;
  handles_.emplace(key, OpenKey{process, std::move(node), access});
  return key;
}

Result<CreatedKey> RegistryTree::open(ProcessId process, RegKey parent, const std::wstring& subKey,
                                      Dword access, bool create) {
  const Resolved from = resolve(process, parent, 0);
  if (from.error != kErrorSuccess) return Failure{from.error};
  const auto parts = splitPath(subKey);
  if (!parts) return Failure{kErrorBadPathname};
  std::shared_ptr<RegistryNode> node = from.node;
  Dword disposition = kRegOpenedExistingKey;
  for (const std::wstring& part : *parts) {
    const auto found = node->subkeys.find(fold(part));
    if (found != node->subkeys.end()) {
      node = found->second;
      continue;
    }
    if (!create) return Failure{kErrorFileNotFound};
    // Creating a key needs the right to add subkeys to the handle it starts
    // from, and write rights on the key it goes into.
    if ((from.access & kKeyCreateSubKey) == 0 || readOnlyAbove(node.get())) {
      return Failure{kErrorAccessDenied};
    }
    auto child = std::make_shared<RegistryNode>();
    child->name = part;
    child->parent = node.get();
    node->subkeys[fold(part)] = child;
    node = child;
    disposition = kRegCreatedNewKey;
  }
  if ((access & kWriteRights) != 0 && readOnlyAbove(node.get())) {
    return Failure{kErrorAccessDenied};
  }
  if (parts->empty() && (parent == kHkeyLocalMachine || parent == kHkeyCurrentUser)) {
    return CreatedKey{parent, disposition};
  }
  return CreatedKey{addHandle(process, node, access), create ? disposition : 0};
}

Result<RegValue> RegistryTree::query(ProcessId process, RegKey key, const std::wstring& name,
                                     std::optional<Dword> bufferBytes) {
  const Resolved at = resolve(process, key, kKeyQueryValue);
  if (at.error != kErrorSuccess) return Failure{at.error};
  const auto value = findValue(*at.node, name);
  if (value == at.node->values.end()) return Failure{kErrorFileNotFound};
  RegValue out;
  out.type = value->type;
  out.size = static_cast<Dword>(value->data.size());
  if (bufferBytes && *bufferBytes < out.size) return {Failure{kErrorMoreData}, out};
  out.data = value->data;
  return out;
}

Dword RegistryTree::set(ProcessId process, RegKey key, const std::wstring& name, Dword type,
                        const std::vector<std::uint8_t>& data) {
  const Resolved at = resolve(process, key, kKeySetValue);
  if (at.error != kErrorSuccess) return at.error;
  const auto value = findValue(*at.node, name);
  if (value != at.node->values.end()) {
    value->type = type;
    value->data = data;
  } else {
    at.node->values.push_back({name, type, data});
  }
  return kErrorSuccess;
}

Dword RegistryTree::deleteValue(ProcessId process, RegKey key, const std::wstring& name) {
  const Resolved at = resolve(process, key, kKeySetValue);
  if (at.error != kErrorSuccess) return at.error;
  const auto value = findValue(*at.node, name);
  if (value == at.node->values.end()) return kErrorFileNotFound;
  at.node->values.erase(value);
  return kErrorSuccess;
}

Dword RegistryTree::deleteKey(ProcessId process, RegKey parent, const std::wstring& subKey) {
  const Resolved from = resolve(process, parent, 0);
  if (from.error != kErrorSuccess) return from.error;
  const auto parts = splitPath(subKey);
  if (!parts) return kErrorBadPathname;
  std::shared_ptr<RegistryNode> node = from.node;
  for (const std::wstring& part : *parts) {
    const auto found = node->subkeys.find(fold(part));
    if (found == node->subkeys.end()) return kErrorFileNotFound;
    node = found->second;
  }
  // A root cannot be deleted, nor a key with subkeys or without the right
  // to delete it.
  if (node->parent == nullptr || !node->subkeys.empty() || readOnlyAbove(node.get())) {
    return kErrorAccessDenied;
  }
  markDeleted(*node);
  node->parent->subkeys.erase(fold(node->name));
  return kErrorSuccess;
}

Result<std::wstring> RegistryTree::enumKey(ProcessId process, RegKey key, Dword index,
                                           Dword nameChars) {
  const Resolved at = resolve(process, key, kKeyEnumerateSubKeys);
  if (at.error != kErrorSuccess) return Failure{at.error};
  if (index >= at.node->subkeys.size()) return Failure{kErrorNoMoreItems};
  const std::wstring& name = std::next(at.node->subkeys.begin(), index)->second->name;
  // The buffer holds the name and its terminating zero.
  if (name.size() >= nameChars) return Failure{kErrorMoreData};
  return name;
}

Result<RegValue> RegistryTree::enumValue(ProcessId process, RegKey key, Dword index) {
  const Resolved at = resolve(process, key, kKeyQueryValue);
  if (at.error != kErrorSuccess) return Failure{at.error};
  if (index >= at.node->values.size()) return Failure{kErrorNoMoreItems};
  const RegistryValueConfig& value = at.node->values[index];
  RegValue out;
  out.name = value.name;
  out.type = value.type;
  out.data = value.data;
  out.size = static_cast<Dword>(value.data.size());
  return out;
}

Dword RegistryTree::flush(ProcessId process, RegKey key) {
  return resolve(process, key, 0).error;
}

Dword RegistryTree::close(ProcessId process, RegKey key) {
  if (key == kHkeyLocalMachine || key == kHkeyCurrentUser) return kErrorSuccess;
  const auto found = handles_.find(key);
  if (found == handles_.end() || found->second.process != process) return kErrorInvalidHandle;
  handles_.erase(found);
  return kErrorSuccess;
}

void RegistryTree::closeAll(ProcessId process) {
  std::erase_if(handles_, [process](const auto& entry) { return entry.second.process == process; });
}

Result<RegKeyInfo> RegistryTree::queryInfo(ProcessId process, RegKey key) {
  const Resolved at = resolve(process, key, kKeyQueryValue);
  if (at.error != kErrorSuccess) return Failure{at.error};
  return RegKeyInfo{static_cast<Dword>(at.node->subkeys.size()),
                    static_cast<Dword>(at.node->values.size())};
}

std::shared_ptr<RegistryNode> RegistryTree::findPath(const std::wstring& path) const {
  const auto parts = splitPath(path);
  if (!parts || parts->empty()) return nullptr;
  std::shared_ptr<RegistryNode> node = rootNamed((*parts)[0]);
  for (std::size_t i = 1; node && i < parts->size(); ++i) {
    const auto found = node->subkeys.find(fold((*parts)[i]));
    node = found == node->subkeys.end() ? nullptr : found->second;
  }
  return node;
}

bool RegistryTree::hasKey(const std::wstring& path) const {
  return findPath(path) != nullptr;
}

void RegistryTree::writeKey(const std::wstring& path,
                            const std::vector<RegistryValueConfig>& values) {
  const std::shared_ptr<RegistryNode> node = createPath(path);
  if (!node) return;
  for (const RegistryValueConfig& value : values) {
    const auto existing = findValue(*node, value.name);
    if (existing != node->values.end()) {
      *existing = value;
    } else {
      node->values.push_back(value);
    }
  }
}

void RegistryTree::removeTree(const std::wstring& path) {
  const std::shared_ptr<RegistryNode> node = findPath(path);
  if (!node || node->parent == nullptr) return;
  markDeleted(*node);
  node->parent->subkeys.erase(fold(node->name));
}

}  // namespace plat::sim
