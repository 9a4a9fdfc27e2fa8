// The fields of a machine file as every section reads and writes them: the
// reader names the file and the field of each problem it finds, in one line.
#pragma once

#include <cstdint>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/api/types.h"

namespace plat::sim {

// What a section reader throws at the first problem; the machine file
// reader turns it into its error line.
struct FileError {
  std::string message;
};

class FieldReader {
 public:
  explicit FieldReader(std::string fileName) : file_(std::move(fileName)) {}

  [[noreturn]] void fail(const std::string& path, const std::string& problem) const;

  // "path.key", or "key" at the top.
  static std::string join(const std::string& path, const std::string& key);
  // An object with no fields but the known ones.
  void expectObject(const nlohmann::json& value, const std::string& path,
                    const std::set<std::string>& known) const;
  const nlohmann::json& array(const nlohmann::json& value, const std::string& path) const;
  // Reads every item of the array `value` with its path, "path[i]".
  void each(const nlohmann::json& value, const std::string& path,
            const std::function<void(const nlohmann::json&, const std::string&)>& read) const;

  // The field `key` of `parent` as the given kind of value.
  std::uint64_t unsignedField(const nlohmann::json& parent, const std::string& key,
                              const std::string& path, std::uint64_t max) const;
  bool boolField(const nlohmann::json& parent, const std::string& key,
                 const std::string& path) const;
  std::string stringField(const nlohmann::json& parent, const std::string& key,
                          const std::string& path) const;
  // A string field that must be there, as UTF-16.
  std::wstring wide(const nlohmann::json& parent, const std::string& key,
                    const std::string& path) const;
  // A string item of an array, as UTF-16.
  std::wstring wideItem(const nlohmann::json& item, const std::string& path) const;
  // "major.minor" up to `maxParts` parts of at most nine digits.
  std::vector<Dword> versionField(const nlohmann::json& parent, const std::string& key,
                                  const std::string& path, std::size_t minParts,
                                  std::size_t maxParts) const;
  // Pairs of hexadecimal digits, "01ff".
  std::vector<std::uint8_t> hexField(const nlohmann::json& parent, const std::string& key,
                                     const std::string& path) const;
  // A duration in milliseconds, or null for one that never ends.
  std::optional<Dword> millisecondsField(const nlohmann::json& parent, const std::string& key,
                                         const std::string& path) const;

 private:
  std::string file_;
};

// Bytes as lower-case hexadecimal digits, as hexField reads them.
std::string hexText(const std::vector<std::uint8_t>& bytes);
// A duration as millisecondsField reads it.
nlohmann::json millisecondsJson(const std::optional<Dword>& duration);

}  // namespace plat::sim
