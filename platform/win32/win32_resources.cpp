#include "platform/win32/win32_ports.h"

namespace plat::win32 {

std::wstring Win32Resources::loadString(std::uint32_t id) {
  // With a zero buffer size LoadStringW hands out the resource text itself.
  const wchar_t* text = nullptr;
  const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || text == nullptr) return {};
  return {text, static_cast<std::size_t>(length)};
}

ResourceHandle Win32Resources::findResource(std::uint16_t id, const std::wstring& type) {
  return reinterpret_cast<ResourceHandle>(
      FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), type.c_str()));
}

Dword Win32Resources::sizeofResource(ResourceHandle resource) {
  return SizeofResource(GetModuleHandleW(nullptr), reinterpret_cast<HRSRC>(resource));
}

const std::uint8_t* Win32Resources::loadResource(ResourceHandle resource) {
  // LockResource only hands out the address of the loaded resource.
  HGLOBAL loaded = LoadResource(GetModuleHandleW(nullptr), reinterpret_cast<HRSRC>(resource));
  return loaded != nullptr ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
}

}  // namespace plat::win32
