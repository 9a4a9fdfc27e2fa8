// Windows Sockets start-up and shut-down.
#pragma once

#include <cstdint>

#include "platform/api/result.h"

namespace plat {

class SocketPort {
 public:
  SocketPort() = default;
  SocketPort(const SocketPort&) = delete;
  SocketPort& operator=(const SocketPort&) = delete;
  virtual ~SocketPort() = default;

  // WSAStartup: the version the stack granted (WSADATA.wVersion;
  // MAKEWORD(major, minor)). Its failure code is the Windows Sockets code.
  virtual Result<std::uint16_t> wsaStartup(std::uint16_t requestedVersion) = 0;
  virtual int wsaCleanup() = 0;
  virtual void wsaSetLastError(int error) = 0;
  virtual int wsaGetLastError() = 0;
};

}  // namespace plat
