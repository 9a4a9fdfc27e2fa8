// Windows Sockets start-up and shut-down.
#pragma once

#include <cstdint>

namespace plat {

// WSAStartup: 0 or a WSA error code, and the version the stack granted
// (WSADATA.wVersion; MAKEWORD(major, minor)).
struct WsaStartupResult {
  int error = 0;
  std::uint16_t version = 0;
};

class SocketPort {
 public:
  SocketPort() = default;
  SocketPort(const SocketPort&) = delete;
  SocketPort& operator=(const SocketPort&) = delete;
  virtual ~SocketPort() = default;

  virtual WsaStartupResult wsaStartup(std::uint16_t requestedVersion) = 0;
  virtual int wsaCleanup() = 0;
  virtual void wsaSetLastError(int error) = 0;
  virtual int wsaGetLastError() = 0;
};

}  // namespace plat
