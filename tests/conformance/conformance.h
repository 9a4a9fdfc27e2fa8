// Platform behaviours the system relies on, written once against the ports
// and run twice: on the simulated machine and on real Windows (Wine). When
// both pass the same table, the simulation is honest about these calls.
#pragma once

#include <functional>
#include <span>
#include <string>

namespace conformance {

// Collects the outcome of one case's expectations.
class Check {
 public:
  void expect(bool ok, const std::string& what) {
    if (!ok) failures_ += (failures_.empty() ? "" : "; ") + what;
  }
  template <class A, class B>
  void equal(const A& actual, const B& expected, const std::string& what) {
    expect(actual == expected, what);
  }
  [[nodiscard]] const std::string& failures() const { return failures_; }

 private:
  std::string failures_;
};

struct Case {
  const char* name;
  void (*run)(Check&);
};

// Every case. Each runs inside a process of the machine under test and
// cleans up what it made (files under C:\BrisvaneConformance, keys under
// HKEY_CURRENT_USER\Software\BrisvaneConformance, the queue "Brisvane
// Conformance"), except the oem INF that the driver-store row stages: the
// port has no call that removes it. The machine has a printer driver of its
// own environment for the queue rows to use.
std::span<const Case> cases();

// True where the table runs under Wine: a few rows accept Wine's answer
// where it differs from documented Windows behaviour, and say why.
bool onWine();

// The rows on the machine's folders, spooler, services and driver store
// (conformance_system.cpp).
void knownFolders(Check& check);
void wow64Redirection(Check& check);
void driverDirectories(Check& check);
void spoolerPorts(Check& check);
void printerQueues(Check& check);
void spoolerService(Check& check);
void driverStore(Check& check);
void portMonitors(Check& check);
void printerDriversAndJobs(Check& check);

// The rows on windows of the dialog framework (conformance_windows.cpp).
void windowTimers(Check& check);
void layeredWindows(Check& check);
void tooltips(Check& check);
void ownerDrawnButtons(Check& check);
void menus(Check& check);
void dialogTabOrder(Check& check);
void dialogKeys(Check& check);

}  // namespace conformance
