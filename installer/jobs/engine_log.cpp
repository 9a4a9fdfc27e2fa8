#include "installer/jobs/engine_log.h"

#include <ctime>
#include <cwchar>
#include <type_traits>

#include "platform/api/ports.h"

namespace brisvane {

namespace {

constexpr wchar_t kLogFileName[] = L"Brisvane.log";
constexpr std::size_t kTimeStampChars = 128;

}  // namespace

std::vector<std::uint8_t> utf16LeBytes(const std::wstring& text) {
  std::vector<std::uint8_t> bytes;
  auto unit = [&bytes](std::uint32_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFFU));
    bytes.push_back(static_cast<std::uint8_t>((value >> 8U) & 0xFFU));
  };
  for (const wchar_t c : text) {
    const auto cp = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<wchar_t>>(c));
    if (cp >= 0x10000) {  // a 32-bit wchar_t: split into a surrogate pair
      unit(0xD800U + ((cp - 0x10000U) >> 10U));
      unit(0xDC00U + ((cp - 0x10000U) & 0x3FFU));
    } else {
      unit(cp);
    }
  }
  return bytes;
}

bool CEngineLog::open() {
  plat::FilePort& files = plat::ports().files();
  const bool exists =
      files.getFileAttributes(kLogFileName).attributes != plat::kInvalidFileAttributes;
  const plat::CreateFileResult created = files.createFile(
      kLogFileName, plat::kGenericWrite, 0, exists ? plat::kOpenExisting : plat::kCreateAlways,
      plat::kFileAttributeNormal);
  if (created.handle == plat::kInvalidFile) return false;
  file_.emplace(files, created.handle);
  const plat::FileHandle handle = file_->get();
  std::uint64_t length = files.getFileSize(handle).value;
  if (length > kLogSizeLimit) {
    files.setFilePointer(handle, 0, plat::kFileBegin);
    files.setEndOfFile(handle);
    length = 0;
  }
  if (length == 0) {
    const std::uint8_t byteOrderMark[] = {0xFF, 0xFE};
    files.writeFile(handle, byteOrderMark);
  } else {
    files.setFilePointer(handle, 0, plat::kFileEnd);
  }
  return true;
}

void CEngineLog::logEntry(const std::wstring& text) {
  if (!loggingOn_) return;
  if (!file_ && !open()) return;
  plat::FilePort& files = plat::ports().files();
  files.writeFile(file_->get(), utf16LeBytes(text + L"\r\n"));
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
