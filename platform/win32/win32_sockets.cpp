#include <winsock2.h>

#include "platform/win32/win32_ports.h"

namespace plat::win32 {

Result<std::uint16_t> Win32Sockets::wsaStartup(std::uint16_t requestedVersion) {
  WSADATA data{};
  const int error = WSAStartup(requestedVersion, &data);
  if (error != 0) return Failure{static_cast<Dword>(error)};
  return std::uint16_t{data.wVersion};
}

int Win32Sockets::wsaCleanup() {
  return WSACleanup();
}

void Win32Sockets::wsaSetLastError(int error) {
  WSASetLastError(error);
}

int Win32Sockets::wsaGetLastError() {
  return WSAGetLastError();
}

}  // namespace plat::win32
