#include "platform/sim/sim_devices.h"

#include <mutex>

#include "platform/sim/sim_driver_store.h"
#include "platform/sim/sim_process.h"

namespace plat::sim {

CopyOemInfResult SimDevicePort::setupCopyOemInf(const std::wstring& sourceInf, Dword copyStyle,
                                                Dword destinationChars) {
  std::scoped_lock lock(process_.machine.mutex);
  if (const auto fault = process_.machine.takeFault("SetupCopyOEMInfW")) return {L"", *fault};
  const auto source = resolvePath(process_, sourceInf);
  if (!source) return {L"", kErrorInvalidName};
  return stageDriverPackage(process_.machine.disk, process_.machine.config.os, *source, copyStyle,
                            destinationChars);
}

}  // namespace plat::sim
