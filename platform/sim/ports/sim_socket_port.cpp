// The socket port of a simulated process: Winsock start-up and its last
// error.
#include "platform/sim/ports/sim_socket_port.h"

#include "platform/sim/sim_process.h"

namespace plat::sim {

Result<std::uint16_t> SimSocketPort::wsaStartup(std::uint16_t requestedVersion) {
  std::scoped_lock lock(process_.machine.mutex);
  const WinsockProfile& winsock = process_.machine.config.winsock;
  if (winsock.startupError != 0) return Failure{static_cast<Dword>(winsock.startupError)};
  if (const auto fault = process_.machine.takeFault("WSAStartup")) return Failure{*fault};
  // The stack grants the lower of the requested and its highest version.
  auto order = [](std::uint16_t v) { return lowByte(v) * 256U + highByte(v); };
  const std::uint16_t granted = order(requestedVersion) < order(winsock.highestVersion)
                                    ? requestedVersion
                                    : winsock.highestVersion;
  ++process_.wsaStartups;
  return granted;
}

int SimSocketPort::wsaCleanup() {
  std::scoped_lock lock(process_.machine.mutex);
  if (process_.wsaStartups == 0) return -1;
  --process_.wsaStartups;
  return 0;
}

void SimSocketPort::wsaSetLastError(int error) {
  std::scoped_lock lock(process_.machine.mutex);
  process_.wsaLastError = error;
}

int SimSocketPort::wsaGetLastError() {
  std::scoped_lock lock(process_.machine.mutex);
  return process_.wsaLastError;
}

}  // namespace plat::sim
