// Deleting the maker's printer drivers, and restarting the print spooler
// when one of them is held in use.
#include <string>

#include "installer/engine/driver_engine.h"
#include "installer/engine/maker_rules.h"
#include "installer/resources/string_ids.h"
#include "platform/api/ports.h"
#include "platform/ui/strings.h"

namespace brisvane {

namespace {

constexpr plat::Dword kPollMilliseconds = 50;
constexpr plat::Dword kPauseBetweenStopAndStart = 2000;
// A spooler stops or starts within seconds. Waiting at most a minute for
// each state keeps a service that never gets there from holding the job
// for ever; the wait then ends like a failed stop or start.
constexpr plat::Dword kLongestStateWait = 60'000;

// Polls the service every 50 ms until it reports `wanted` or a query
// fails; `timedOut` is set when the longest wait passed first. The last
// state the service reported.
plat::Dword waitForState(plat::ServicePort& services, plat::ServiceId service, plat::Dword wanted,
                         plat::Dword lastState, bool& timedOut) {
  plat::SystemPort& system = plat::ports().system();
  timedOut = false;
  for (plat::Dword waited = 0;; waited += kPollMilliseconds) {
    const plat::Result<plat::Dword> status = services.queryServiceStatus(service);
    if (!status) return lastState;
    lastState = *status;
    if (lastState == wanted) return lastState;
    if (waited >= kLongestStateWait) break;
    system.sleep(kPollMilliseconds);
  }
  timedOut = true;
  return lastState;
}

}  // namespace

plat::Dword CDriverEngine::deleteDrivers() {
  plat::SpoolerPort& spooler = plat::ports().spooler();
  const auto drivers = spooler.enumPrinterDrivers({});
  if (!drivers) return drivers.error();
  savedDriverNames_.clear();
  for (const plat::PrinterDriverInfo& driver : *drivers) {
    if (isMakerDriverName(driver.name)) savedDriverNames_.push_back(driver.name);
  }
  const std::wstring environment = driverEnvironment();
  bool plainDelete = false;
  bool restarted = false;
  for (std::size_t i = 0; i < savedDriverNames_.size();) {
    const std::wstring& name = savedDriverNames_[i];
    // Only the last driver takes the files the drivers share with it.
    const bool withFiles = i + 1 == savedDriverNames_.size() && !plainDelete;
    plat::Dword error = plat::kErrorSuccess;
    if (withFiles) {
      logEntry(L"#DeletePrinterDriverEx:" + name);
      error = spooler.deletePrinterDriverEx(environment, name, plat::kDpdDeleteAllFiles, 0);
    } else {
      logEntry(L"#DeletePrinterDriver:" + name);
      error = spooler.deletePrinterDriver(environment, name);
    }
    if (error == plat::kErrorSuccess) {
      ++i;
      continue;
    }
    if (error != plat::kErrorPrinterDriverInUse) return error;
    logEntry(L"#DeletePrinterDriver Err code:" + std::to_wstring(error));
    if (withFiles) {
      plainDelete = true;
    } else if (!restarted) {
      restarted = true;
      restartPrintSpooler();
      plainDelete = false;
    } else {
      plat::ports().windows().messageBox(plat::kNoWindow,
                                         name + plat::ui::loadString(IDS_FILES_IN_USE_RESTART),
                                         plat::ui::loadString(IDS_APP_TITLE), plat::kMbOk);
      return plat::kErrorSuccess;
    }
  }
  return plat::kErrorSuccess;
}

void CDriverEngine::restartPrintSpooler() {
  logEntry(L"restartPrintSpooler");
  plat::ServicePort& services = plat::ports().services();
  const auto manager =
      plat::ServiceHandle::adopt(services, services.openScManager(plat::kGenericExecute));
  if (!manager) return;
  const auto service = plat::ServiceHandle::adopt(
      services,
      services.openService(manager->get(), L"Spooler",
                           plat::kServiceQueryStatus | plat::kServiceStart | plat::kServiceStop));
  if (!service) return;
  const plat::Result<plat::Dword> status = services.queryServiceStatus(service->get());
  if (!status) return;
  plat::Dword state = *status;
  bool timedOut = false;
  if (state == plat::kServiceRunning) {
    if (!services.controlService(service->get(), plat::kServiceControlStop)) return;
    state = waitForState(services, service->get(), plat::kServiceStopped, state, timedOut);
    if (timedOut) return;
  }
  plat::ports().system().sleep(kPauseBetweenStopAndStart);
  if (state == plat::kServiceStopped) {
    if (services.startService(service->get()) != plat::kErrorSuccess) return;
    waitForState(services, service->get(), plat::kServiceRunning, state, timedOut);
    if (timedOut) return;
  }
  logEntry(L"restartPrintSpooler Success");
}

}  // namespace brisvane
