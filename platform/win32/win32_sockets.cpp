#include <winsock2.h>

#include "platform/win32/win32_ports.h"

namespace plat::win32 {

WsaStartupResult Win32Sockets::wsaStartup(std::uint16_t requestedVersion) {
  WSADATA data{};
  const int error = WSAStartup(requestedVersion, &data);
  return {error, error == 0 ? data.wVersion : std::uint16_t{0}};
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
