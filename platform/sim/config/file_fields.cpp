#include "platform/sim/config/file_fields.h"

#include <sstream>

#include "platform/sim/text.h"

namespace plat::sim {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

}  // namespace

void FieldReader::fail(const std::string& path, const std::string& problem) const {
  throw FileError{file_ + ": field '" + path + "': " + problem};
}

std::string FieldReader::join(const std::string& path, const std::string& key) {
  return path.empty() ? key : path + "." + key;
}

void FieldReader::expectObject(const nlohmann::json& value, const std::string& path,
                               const std::set<std::string>& known) const {
  if (!value.is_object()) {
    if (path.empty()) throw FileError{file_ + ": the machine must be a JSON object"};
    fail(path, "expected an object");
  }
  for (const auto& [key, item] : value.items()) {
    if (known.count(key) == 0) fail(join(path, key), "unknown field");
  }
}

const nlohmann::json& FieldReader::array(const nlohmann::json& value,
                                         const std::string& path) const {
  if (!value.is_array()) fail(path, "expected an array");
  return value;
}

void FieldReader::each(
    const nlohmann::json& value, const std::string& path,
    const std::function<void(const nlohmann::json&, const std::string&)>& read) const {
  const nlohmann::json& items = array(value, path);
  for (std::size_t i = 0; i < items.size(); ++i) {
    read(items[i], path + "[" + std::to_string(i) + "]");
  }
}

std::uint64_t FieldReader::unsignedField(const nlohmann::json& parent, const std::string& key,
                                         const std::string& path, std::uint64_t max) const {
  const nlohmann::json& value = parent.at(key);
  if (!value.is_number_unsigned()) fail(join(path, key), "expected a non-negative integer");
  const auto number = value.get<std::uint64_t>();
  if (number > max) fail(join(path, key), "must be at most " + std::to_string(max));
  return number;
}

bool FieldReader::boolField(const nlohmann::json& parent, const std::string& key,
                            const std::string& path) const {
  const nlohmann::json& value = parent.at(key);
  if (!value.is_boolean()) fail(join(path, key), "expected true or false");
  return value.get<bool>();
}

std::string FieldReader::stringField(const nlohmann::json& parent, const std::string& key,
                                     const std::string& path) const {
  const nlohmann::json& value = parent.at(key);
  if (!value.is_string()) fail(join(path, key), "expected a string");
  return value.get<std::string>();
}

std::wstring FieldReader::wide(const nlohmann::json& parent, const std::string& key,
                               const std::string& path) const {
  if (!parent.contains(key)) fail(join(path, key), "missing");
  std::wstring out;
  if (!fromUtf8(stringField(parent, key, path), out)) fail(join(path, key), "invalid UTF-8");
  return out;
}

std::wstring FieldReader::wideItem(const nlohmann::json& item, const std::string& path) const {
  if (!item.is_string()) fail(path, "expected a string");
  std::wstring out;
  if (!fromUtf8(item.get<std::string>(), out)) fail(path, "invalid UTF-8");
  return out;
}

std::vector<Dword> FieldReader::versionField(const nlohmann::json& parent, const std::string& key,
                                             const std::string& path, std::size_t minParts,
                                             std::size_t maxParts) const {
  const std::string text = stringField(parent, key, path);
  std::vector<Dword> parts;
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, '.')) {
    if (part.empty() || part.size() > 9 ||
        part.find_first_not_of("0123456789") != std::string::npos) {
      fail(join(path, key), "expected a version like \"10.0.19045\", found \"" + text + "\"");
    }
    parts.push_back(static_cast<Dword>(std::stoul(part)));
  }
  if (parts.size() < minParts || parts.size() > maxParts) {
    fail(join(path, key), "expected a version like \"10.0.19045\", found \"" + text + "\"");
  }
  return parts;
}

std::vector<std::uint8_t> FieldReader::hexField(const nlohmann::json& parent,
                                                const std::string& key,
                                                const std::string& path) const {
  const std::string text = stringField(parent, key, path);
  if (text.size() % 2 != 0 ||
      text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
    fail(join(path, key), "expected pairs of hexadecimal digits like \"01ff\"");
  }
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

std::optional<Dword> FieldReader::millisecondsField(const nlohmann::json& parent,
                                                    const std::string& key,
                                                    const std::string& path) const {
  if (parent.at(key).is_null()) return std::nullopt;
  return static_cast<Dword>(unsignedField(parent, key, path, 0xFFFFFFFF));
}

std::string hexText(const std::vector<std::uint8_t>& bytes) {
  std::string hex;
  for (const std::uint8_t byte : bytes) {
    hex += kHexDigits[byte >> 4U];
    hex += kHexDigits[byte & 0xFU];
  }
  return hex;
}

nlohmann::json millisecondsJson(const std::optional<Dword>& duration) {
  return duration ? nlohmann::json(*duration) : nlohmann::json(nullptr);
}

}  // namespace plat::sim
