#include "installer/payload/drv_file_manifest.h"

#include <cwctype>
#include <optional>

#include "installer/payload/platform_detection.h"
#include "installer/payload/work_folder.h"
#include "platform/api/ports.h"

namespace brisvane {

namespace {

constexpr std::size_t kInfEntry = 2;
constexpr std::size_t kDispatcher64Entry = 9;
constexpr std::size_t kDispatcher32Entry = 10;
constexpr std::size_t kBatchEntry = 23;
constexpr wchar_t kBrisvane64Name[] = L"\\Brisvane64.exe";
constexpr wchar_t kCreateFailedCaption[] = L"Create Failed";

// True when `path` lies in the folder `folder` of the package ("x64" or
// "Win32"), compared without regard to case.
bool isInPackageFolder(const std::wstring& path, const std::wstring& folder) {
  const std::size_t slash = path.find(L'\\');
  if (slash == std::wstring::npos || slash == 0 || slash != folder.size()) return false;
  for (std::size_t i = 0; i < slash; ++i) {
    if (std::towlower(static_cast<wint_t>(path[i])) !=
        std::towlower(static_cast<wint_t>(folder[i]))) {
      return false;
    }
  }
  return true;
}

std::wstring inFolder(const std::wstring& folder, const std::wstring& name) {
  return folder + L"\\" + name;
}

// The printer driver directory of this process's environment, or nothing
// when the spooler does not tell it or it does not fit a 400-byte buffer.
std::optional<std::wstring> printerDriverDirectory() {
  const plat::Result<std::wstring> directory =
      plat::ports().spooler().getPrinterDriverDirectory(std::nullopt);
  if (!directory || directory->size() >= kPathBufferChars) return std::nullopt;
  return *directory;
}

// When `wanted`, switches WOW64 file-system redirection off for the
// calling thread while it lives, so that System32 is the native folder.
class Wow64RedirectionOff {
 public:
  explicit Wow64RedirectionOff(bool wanted) {
    if (!wanted) return;
    const plat::Result<std::uintptr_t> result = plat::ports().files().wow64DisableFsRedirection();
    disabled_ = result.ok();
    oldValue_ = result.valueOr(0);
  }
  Wow64RedirectionOff(const Wow64RedirectionOff&) = delete;
  Wow64RedirectionOff& operator=(const Wow64RedirectionOff&) = delete;
  ~Wow64RedirectionOff() {
    if (disabled_) plat::ports().files().wow64RevertFsRedirection(oldValue_);
  }

 private:
  bool disabled_ = false;
  std::uintptr_t oldValue_ = 0;
};

}  // namespace

std::wstring CDrvFileManifest::fileNameOf(const std::wstring& path) {
  const std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool CDrvFileManifest::writeResourceFile(const std::wstring& path, std::uint16_t id,
                                         const std::wstring& type) const {
  std::size_t separator = path.rfind(L'\\');
  if (separator == std::wstring::npos) separator = path.rfind(L'/');
  if (separator == std::wstring::npos) return false;
  plat::FilePort& files = plat::ports().files();
  const std::wstring folder = path.substr(0, separator);
  if (!files.pathIsDirectory(folder) && files.createDirectory(folder) != plat::kErrorSuccess) {
    return false;
  }
  // The resource is looked up before the file is created, so that a
  // missing one leaves no empty file behind and is reported as a failure.
  plat::ResourcePort& resources = plat::ports().resources();
  const plat::ResourceHandle resource = resources.findResource(id, type);
  if (resource == plat::kNoResource) return false;
  const plat::Dword size = resources.sizeofResource(resource);
  const std::uint8_t* data = resources.loadResource(resource);
  if (data == nullptr) return false;

  const plat::Result<plat::OpenedFile> created =
      files.createFile(path, plat::kGenericWrite, plat::kFileShareWrite, plat::kCreateAlways,
                       plat::kFileAttributeNormal);
  if (!created) return false;
  const plat::UniqueFile file(files, created->handle);
  // A short write (a full disk) is a failure too: the file is broken.
  const plat::Result<plat::Dword> written = files.writeFile(file.get(), {data, size});
  return written && *written == size;
}

std::wstring CDrvFileManifest::extractToWorkFolder() const {
  const std::optional<std::wstring> workFolder = workFolderPath();
  if (!workFolder) return {};
  // Usually the folder exists already; a failure shows in the first write.
  plat::ports().files().createDirectory(*workFolder);
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const std::wstring path = inFolder(*workFolder, entries_[i].path);
    if (!writeResourceFile(path, entries_[i].resourceId, typeName_)) return {};
    if (i == kBatchEntry) {
      // The batch registers the automation library written just before it;
      // nobody waits for it.
      plat::ports().shell().shellExecute(plat::kNoWindow, L"open", path, L"", L"", plat::kSwHide);
    }
  }
  // Brisvane64 is needed only on 64-bit Windows, where its own launch
  // reports a missing program.
  writeResourceFile(*workFolder + kBrisvane64Name, kBrisvane64ResourceId, typeName_);
  return inFolder(*workFolder, entries_[kInfEntry].path);
}

void CDrvFileManifest::removeFromWorkFolder() const {
  const std::optional<std::wstring> workFolder = workFolderPath();
  if (!workFolder) return;
  plat::FilePort& files = plat::ports().files();
  for (const DrvFileEntry& entry : entries_) files.deleteFile(inFolder(*workFolder, entry.path));
  files.deleteFile(*workFolder + kBrisvane64Name);
}

void CDrvFileManifest::stageToDriverDirectory() const {
  const std::optional<std::wstring> directory = printerDriverDirectory();
  if (!directory) return;
  const bool wow64 = isWow64();
  const std::wstring otherArchitecture = wow64 ? L"Win32" : L"x64";
  const std::wstring versionThree = inFolder(*directory, L"3");
  auto write = [&](const std::wstring& path, std::uint16_t id) {
    if (writeResourceFile(path, id, typeName_)) return true;
    plat::ports().windows().messageBox(plat::kNoWindow, path, kCreateFailedCaption,
                                       plat::kMbIconError);
    return false;
  };
  for (const DrvFileEntry& entry : entries_) {
    if (isInPackageFolder(entry.path, otherArchitecture)) continue;
    const std::wstring name = fileNameOf(entry.path);
    if (!write(inFolder(*directory, name), entry.resourceId)) return;
    if (name.find(L".cab") != std::wstring::npos &&
        plat::ports().files().pathFileExists(versionThree) &&
        !write(inFolder(versionThree, name), entry.resourceId)) {
      return;
    }
  }
  // The network monitor dispatcher of the native architecture goes into
  // the native system directory; under WOW64 that needs redirection off.
  const DrvFileEntry& dispatcher = entries_[wow64 ? kDispatcher64Entry : kDispatcher32Entry];
  const Wow64RedirectionOff redirectionOff(wow64);
  const std::wstring systemDirectory = plat::ports().files().getSystemDirectory();
  if (systemDirectory.empty() || systemDirectory.size() >= kPathBufferChars) return;
  writeResourceFile(inFolder(systemDirectory, fileNameOf(dispatcher.path)), dispatcher.resourceId,
                    typeName_);
}

void CDrvFileManifest::removeFromDriverDirectory() const {
  const std::optional<std::wstring> directory = printerDriverDirectory();
  if (!directory) return;
  plat::FilePort& files = plat::ports().files();
  for (const DrvFileEntry& entry : entries_) {
    files.deleteFile(inFolder(*directory, fileNameOf(entry.path)));
  }
}

}  // namespace brisvane
