// The driver install engine's log "Brisvane.log" in the current directory,
// and the time-stamp entry with which the install jobs begin.
//
// The log is UTF-16LE text with the byte order mark FF FE; each entry is
// its text and CR LF. A file longer than 524,288 bytes is emptied when an
// engine opens it. Logging is off unless switched on; nothing in the
// installer switches it on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/file_port.h"

namespace brisvane {

inline constexpr std::uint64_t kLogSizeLimit = 524'288;

// The log slot of one engine object: closed until its first entry, then
// open until the object is destroyed.
class CEngineLog {
 public:
  void setLoggingOn(bool on) { loggingOn_ = on; }
  // Appends `text` and CR LF. A failed open drops the entry and the next
  // entry tries again; write failures are not reported.
  void logEntry(const std::wstring& text);

 private:
  bool open();

  bool loggingOn_ = false;
  std::optional<plat::UniqueFile> file_;
};

// "\r\n" and the local time as "YYYY-MM-DD hh:mm:ss"; empty when it cannot
// be formatted.
std::wstring timeStampText();

}  // namespace brisvane
