// The work folder under Program Files, where the installer writes its
// package, settings file and helper program.
#pragma once

#include <optional>
#include <string>

namespace brisvane {

// The path buffers of the work folder hold 200 characters with the
// terminating zero.
inline constexpr std::size_t kPathBufferChars = 200;

// `base` followed by `suffix`, or nothing when the result would not fit a
// path buffer.
std::optional<std::wstring> appendBounded(const std::wstring& base, const std::wstring& suffix);

// The Program Files folder (the 32-bit one for this 32-bit program on
// 64-bit Windows) followed by "\\Corvantis"; nothing when the folder lookup
// fails or the path does not fit. The folder is not created here.
std::optional<std::wstring> workFolderPath();

}  // namespace brisvane
