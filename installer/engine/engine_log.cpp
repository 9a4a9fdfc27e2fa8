#include "installer/engine/engine_log.h"

#include <ctime>
#include <cwchar>

#include "platform/api/ports.h"
#include "platform/api/wide_text.h"

namespace brisvane {

namespace {

constexpr wchar_t kLogFileName[] = L"Brisvane.log";
constexpr std::size_t kTimeStampChars = 128;

}  // namespace

bool CEngineLog::open() {
  plat::FilePort& files = plat::ports().files();
  const bool exists = files.getFileAttributes(kLogFileName).ok();
  const plat::Result<plat::OpenedFile> created = files.createFile(
      kLogFileName, plat::kGenericWrite, 0, exists ? plat::kOpenExisting : plat::kCreateAlways,
      plat::kFileAttributeNormal);
  if (!created) return false;
  file_.emplace(files, created->handle);
  const plat::FileHandle handle = file_->get();
  std::uint64_t length = files.getFileSize(handle).valueOr(0);
  if (length > kLogSizeLimit) {
    static_cast<void>(files.setFilePointer(handle, 0, plat::kFileBegin));
    files.setEndOfFile(handle);
    length = 0;
  }
  if (length == 0) {
    const std::uint8_t byteOrderMark[] = {0xFF, 0xFE};
    static_cast<void>(files.writeFile(handle, byteOrderMark));
  } else {
    static_cast<void>(files.setFilePointer(handle, 0, plat::kFileEnd));
  }
  return true;
}

void CEngineLog::logEntry(const std::wstring& text) {
  if (!loggingOn_) return;
  if (!file_ && !open()) return;
  plat::FilePort& files = plat::ports().files();
  static_cast<void>(files.writeFile(file_->get(), plat::utf16LeBytes(text + L"\r\n")));
  files.flushFileBuffers(file_->get());
}

std::wstring timeStampText() {
  const plat::LocalTime now = plat::ports().system().getLocalTime();
  std::tm calendar{};
  calendar.tm_year = static_cast<int>(now.year) - 1900;
  calendar.tm_mon = static_cast<int>(now.month) - 1;
  calendar.tm_mday = static_cast<int>(now.day);
  calendar.tm_hour = static_cast<int>(now.hour);
  calendar.tm_min = static_cast<int>(now.minute);
  calendar.tm_sec = static_cast<int>(now.second);
  wchar_t buffer[kTimeStampChars] = {};
  const std::size_t length =
      std::wcsftime(buffer, kTimeStampChars, L"\r\n%Y-%m-%d %H:%M:%S", &calendar);
  return {buffer, length};
}

}  // namespace brisvane
