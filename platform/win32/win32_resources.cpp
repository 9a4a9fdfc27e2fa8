#include "platform/win32/win32_ports.h"

namespace plat::win32 {

std::wstring Win32Resources::loadString(std::uint32_t id) {
  // With a zero buffer size LoadStringW hands out the resource text itself.
  const wchar_t* text = nullptr;
  const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || text == nullptr) return {};
  return {text, static_cast<std::size_t>(length)};
}

}  // namespace plat::win32
