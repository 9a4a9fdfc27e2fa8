// The machine file's "files" section: the folders and files of the disk;
// a file's contents are UTF-8 "text" or "hex" bytes.
#include <algorithm>

#include "platform/sim/model/file_system.h"
#include "platform/sim/model/machine_sections.h"
#include "platform/sim/text.h"

namespace plat::sim {

namespace {

using nlohmann::json;

void readFiles(const FieldReader& reader, const json& files, MachineConfig& config) {
  std::vector<FileEntry> out;
  std::set<std::wstring> seen;
  reader.each(files, "files", [&](const json& value, const std::string& path) {
    reader.expectObject(value, path, {"path", "folder", "readOnly", "text", "hex"});
    FileEntry entry;
    const std::wstring given = reader.wide(value, "path", path);
    const auto full = fullPath(given, L"C:\\");
    if (given.size() < 3 || given[1] != L':' || (given[2] != L'\\' && given[2] != L'/') || !full) {
      reader.fail(path + ".path", "expected a full path like \"C:\\\\Windows\"");
    }
    entry.path = *full;
    if (!seen.insert(pathKey(entry.path)).second) reader.fail(path + ".path", "named twice");
    if (value.contains("folder")) entry.isFolder = reader.boolField(value, "folder", path);
    if (value.contains("readOnly") && reader.boolField(value, "readOnly", path)) {
      entry.attributes = kFileAttributeReadOnly;
    }
    if (value.contains("text") && value.contains("hex")) {
      reader.fail(path, "give \"text\" or \"hex\", not both");
    }
    if (entry.isFolder && (value.contains("text") || value.contains("hex"))) {
      reader.fail(path, "a folder has no contents");
    }
    if (value.contains("text")) {
      const std::string text = reader.stringField(value, "text", path);
      entry.contents.assign(text.begin(), text.end());
    }
    if (value.contains("hex")) entry.contents = reader.hexField(value, "hex", path);
    out.push_back(std::move(entry));
  });
  config.files = std::move(out);
}

// Contents that read as text are saved as text, anything else as hex.
json contentsField(const std::vector<std::uint8_t>& contents) {
  const std::string bytes(contents.begin(), contents.end());
  std::wstring decoded;
  const bool text =
      fromUtf8(bytes, decoded) && std::all_of(bytes.begin(), bytes.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 || c == '\n' || c == '\r' || c == '\t';
      });
  if (text) return {{"text", bytes}};
  return {{"hex", hexText(contents)}};
}

std::optional<json> writeFiles(const MachineConfig& config) {
  if (!config.files) return std::nullopt;
  json out = json::array();
  for (const auto& file : *config.files) {
    json entry = {{"path", toUtf8(file.path)}};
    if (file.isFolder) entry["folder"] = true;
    if ((file.attributes & kFileAttributeReadOnly) != 0) entry["readOnly"] = true;
    if (!file.isFolder && !file.contents.empty()) entry.update(contentsField(file.contents));
    out.push_back(entry);
  }
  return out;
}

}  // namespace

const MachineSection kFilesSection{"files", readFiles, writeFiles};

}  // namespace plat::sim
