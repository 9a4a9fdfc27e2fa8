// The conformance table on the simulated machine.
#include <gtest/gtest.h>

#include "tests/conformance/conformance.h"
#include "tests/sim_support.h"

namespace conformance {
// Names the case in test output; GoogleTest looks for this very name.
inline void PrintTo(const Case& c, std::ostream* out) {  // NOLINT(readability-identifier-naming)
  *out << c.name;
}

bool onWine() {
  return false;
}
}  // namespace conformance

namespace {

// A fresh Windows 10 with the printer driver it comes with.
plat::sim::MachineConfig machineWithADriver() {
  plat::sim::MachineConfig config;
  plat::sim::SpoolerConfig spooler = plat::sim::defaultSpooler();
  spooler.drivers.push_back({L"Microsoft Print To PDF", L"Windows x64", L"10.0.19041.1"});
  config.spooler = spooler;
  return config;
}

class Conformance : public ::testing::TestWithParam<conformance::Case> {};

TEST_P(Conformance, OnTheSimulatedMachine) {
  plat::sim::Machine machine(machineWithADriver());
  conformance::Check check;
  bool ran = false;
  brisvane::testing::runInProcess(machine, [&] {
    GetParam().run(check);
    ran = true;
  });
  machine.advance(10'000);  // cases that sleep finish in virtual time
  EXPECT_TRUE(ran);
  EXPECT_EQ(check.failures(), "");
}

INSTANTIATE_TEST_SUITE_P(Table, Conformance, ::testing::ValuesIn(conformance::cases()),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
