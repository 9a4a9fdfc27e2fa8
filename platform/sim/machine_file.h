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
//                { "path": "C:\\data.bin", "hex": "fffe4100", "readOnly": true } ],
//     "registry": [ { "key": "HKEY_CURRENT_USER\\Software\\Corvantis", "readOnly": false,
//                     "values": [ { "name": "Mode", "type": "REG_DWORD", "data": 1 } ] } ],
//     "spooler": {
//       "drivers": [ { "name": "Corvantis LV31 (203 dpi)", "environment": "Windows x64",
//                      "version": "2021.1.5.0" } ],
//       "ports": [ { "name": "USB001", "monitor": "USB Monitor" } ],
//       "printers": [ { "name": "Office laser", "port": "USB001",
//                       "driver": "Corvantis LV31 (203 dpi)", "offline": false,
//                       "jobs": [ { "document": "labels.prn" } ] } ],
//       "connections": [ { "name": "\\\\srv\\Front desk", "driver": "Corvantis LV31 (203 dpi)" } ]
//       },
//     "devices": [ { "instanceId": "USBPRINT\\CORVANTISLV31\\7&2A4F&0&USB001", "present": true,
//                    "hardwareIds": [ "USBPRINT\\Corvantis_LV31-203dpi8D4D" ],
//                    "manufacturer": "Corvantis", "configFlags": 0, "port": "USB001" } ]
//   }
//
// Every field is optional; a missing one keeps the built-in profile's value
// (Windows 10 64-bit, English, an administrator, the registry keys of a
// fresh installation). Without "files" the disk holds the folders of a fresh
// Windows installation; with it, exactly the listed entries and the folders
// they lie in. A "registry" list replaces the built-in keys; parents of a
// listed key exist implicitly. Value data: a string for REG_SZ and
// REG_EXPAND_SZ, a number for REG_DWORD, a list of strings for REG_MULTI_SZ,
// hexadecimal bytes for REG_BINARY and REG_NONE. Without "spooler" the
// spooler has the local ports of a fresh installation and no queue; a
// queue's port and driver must be listed, and names keep within the
// spooler's limits. A USB printer device without "manufacturer" (or another
// property) does not have it, as a device Windows has not installed yet;
// "present" is true unless given. Unknown fields and wrong types are errors.
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
