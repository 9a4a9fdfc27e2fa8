#include "installer/payload/work_folder.h"

#include "platform/api/ports.h"

namespace brisvane {

namespace {

constexpr wchar_t kWorkFolderName[] = L"\\Corvantis";

}  // namespace

std::optional<std::wstring> appendBounded(const std::wstring& base, const std::wstring& suffix) {
  if (base.size() + suffix.size() >= kPathBufferChars) return std::nullopt;
  return base + suffix;
}

std::optional<std::wstring> workFolderPath() {
  const plat::Result<std::wstring> programFiles =
      plat::ports().shell().shGetFolderPath(plat::kCsidlProgramFiles, plat::kShgfpTypeCurrent);
  if (!programFiles) return std::nullopt;
  return appendBounded(*programFiles, kWorkFolderName);
}

}  // namespace brisvane
