// The check before a job replaces the maker's driver: the print jobs still
// waiting in the maker's queues (cancelled when the user says so), the old
// brand's printers, and USB printers that are still connected.
#include "installer/engine/print_jobs.h"

#include <string>
#include <vector>

#include "installer/engine/driver_engine.h"
#include "installer/engine/maker_rules.h"
#include "installer/engine/printer_queues.h"
#include "installer/resources/string_ids.h"
#include "platform/api/ports.h"
#include "platform/ui/strings.h"

namespace brisvane {

namespace {

constexpr int kUserCancelled = 0;
constexpr int kPrintersFree = 1;
constexpr int kJobsRemain = 2;
constexpr plat::Dword kMostJobsListed = 1000;
constexpr plat::Dword kWaitStepMilliseconds = 1000;
constexpr std::size_t kWaitStepsPerPrinter = 60;
constexpr wchar_t kOldBrandDriver[] = L"Veltrane P";
// The fixed texts of a failed printer listing, in every UI language.
constexpr wchar_t kListingErrorCaption[] = L"Quorvel";
constexpr wchar_t kMemoryError[] = L"#01 Memory Error";
constexpr wchar_t kEnumPrintersError[] = L"#02 EnumPrinters Error";

int ask(const std::wstring& text, plat::Dword type) {
  return plat::ports().windows().messageBox(plat::kNoWindow, text,
                                            plat::ui::loadString(IDS_APP_TITLE), type);
}

// Cancels every job listed in the queue `name`; the results of the single
// cancellations are not looked at, only the job counts afterwards. False
// when the queue cannot be opened or its jobs cannot be listed.
bool cancelJobsOf(const std::wstring& name) {
  plat::SpoolerPort& spooler = plat::ports().spooler();
  const auto printer = plat::openPrinter(spooler, name, plat::kPrinterAllAccess);
  if (!printer) return false;
  const auto jobs = spooler.enumJobs(printer->get(), 0, kMostJobsListed);
  if (!jobs) return false;
  for (const plat::JobInfo3& job : *jobs) {
    spooler.setJob(printer->get(), job.jobId, plat::kJobControlCancel);
  }
  return true;
}

}  // namespace

bool noPendingJobs() {
  const auto printers = enumeratePrinters();
  if (!printers) return false;
  for (const plat::PrinterInfo2& printer : *printers) {
    if (isMakerDriverName(printer.driverName) && printer.jobs != 0) return false;
  }
  return true;
}

int CDriverEngine::cancelPendingJobs() {
  // [No] says the jobs are gone: the whole check, question included, runs
  // again, as often as the user answers so.
  for (;;) {
    const auto printers = enumeratePrinters();
    if (!printers) return kJobsRemain;
    std::vector<std::wstring> busy;
    plat::Dword jobs = 0;
    std::wstring firstDriver;
    for (const plat::PrinterInfo2& printer : *printers) {
      if (!isMakerDriverName(printer.driverName) || printer.jobs == 0) continue;
      if (busy.empty()) firstDriver = printer.driverName;
      busy.push_back(printer.printerName);
      jobs += printer.jobs;
    }
    if (jobs == 0) return kPrintersFree;
    // The count goes in first, so that a driver name cannot hold a "$NUM$".
    const std::wstring text =
        plat::replaceAll(plat::replaceAll(plat::ui::loadString(IDS_JOBS_PENDING_FORCE_CANCEL),
                                          L"$NUM$", std::to_wstring(jobs)),
                         L"$PRN$", firstDriver);
    const int answer = ask(text, plat::kMbYesNoCancel);
    if (answer == plat::kIdNo) continue;
    if (answer != plat::kIdYes) return kUserCancelled;

    for (const std::wstring& name : busy) {
      if (!cancelJobsOf(name)) return kJobsRemain;
    }
    for (std::size_t step = 0; step < kWaitStepsPerPrinter * busy.size(); ++step) {
      plat::ports().system().sleep(kWaitStepMilliseconds);
      if (noPendingJobs()) break;
    }
    return noPendingJobs() ? kPrintersFree : kJobsRemain;
  }
}

bool CDriverEngine::checkPrintersReady() {
  // [Retry] runs the whole check again, the job question included.
  for (;;) {
    if (cancelPendingJobs() == kUserCancelled) return true;
    const auto printers = enumeratePrinters();
    if (!printers) {
      const bool memory = plat::bufferNotAllocated(printers);
      plat::ports().windows().messageBox(plat::kNoWindow,
                                         memory ? kMemoryError : kEnumPrintersError,
                                         kListingErrorCaption, plat::kMbOk);
      return true;
    }
    bool askedAboutOldBrand = false;
    std::wstring problem;
    for (const plat::PrinterInfo2& printer : *printers) {
      if (printer.driverName.find(kOldBrandDriver) != std::wstring::npos && !askedAboutOldBrand) {
        if (ask(plat::ui::loadString(IDS_VELTRANE_DELETE_ASK), plat::kMbYesNo) != plat::kIdYes) {
          return true;
        }
        askedAboutOldBrand = true;
      }
      if (!isMakerDriverName(printer.driverName)) continue;
      if (printer.jobs != 0) {
        problem = plat::replaceAll(plat::ui::loadString(IDS_CANCEL_JOBS_FAILED_RETRY), L"$PRN$",
                                   printer.printerName);
        break;
      }
      const bool online = (printer.attributes & plat::kPrinterAttributeWorkOffline) == 0;
      if (online && isUsbPort(printer.portName)) {
        problem =
            printer.printerName + L" " + plat::ui::loadString(IDS_PRINTER_CONNECTED_UNPLUG_RETRY);
        break;
      }
    }
    if (problem.empty()) return false;
    if (ask(problem, plat::kMbRetryCancel) != plat::kIdRetry) return true;
  }
}

}  // namespace brisvane
