// Machine files: a simulated PC described in JSON.
//
//   {
//     "os": { "edition": "Windows 10 Pro", "version": "10.0.19045",
//             "platformId": 2, "productType": "workstation", "is64Bit": true,
//             "hasIsWow64Process": true, "userUiLanguage": 1033,
//             "userLocale": 1033 },
//     "winsock": { "highestVersion": "2.2", "startupError": 0 },
//     "faults": [ { "call": "GetVersionExW", "error": 87, "times": 1 } ],
//     "desktop": [ { "program": "notepad.exe", "title": "notes - Notepad" } ],
//     "files": [ { "path": "C:\\Windows", "folder": true },
//                { "path": "C:\\Windows\\win.ini", "text": "[fonts]\r\n" },
//                { "path": "C:\\data.bin", "hex": "fffe4100", "readOnly": true } ]
//   }
//
// Every field is optional; a missing one keeps the built-in profile's value
// (Windows 10 64-bit, English, an administrator). Without "files" the disk
// holds the folders of a fresh Windows installation; with it, exactly the
// listed entries and the folders they lie in. Unknown fields and wrong
// types are errors.
#pragma once

#include <optional>
#include <string>

#include "platform/sim/machine_config.h"

namespace plat::sim {

struct MachineFileResult {
  std::optional<MachineConfig> config;
  std::string error;  // one line naming the file, the field and the problem
};

MachineFileResult parseMachineFile(const std::string& text, const std::string& fileName);
MachineFileResult loadMachineFile(const std::string& path);

std::string formatMachineFile(const MachineConfig& config);
// Writes the file; returns an error line, or an empty string on success.
std::string saveMachineFile(const MachineConfig& config, const std::string& path);

}  // namespace plat::sim
