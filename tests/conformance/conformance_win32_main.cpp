// The conformance table on real Windows: one line per case, then the count.
#include <windows.h>

#include <cstdio>

#include "tests/conformance/conformance.h"

namespace conformance {
bool onWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}
}  // namespace conformance

int main() {
  int passed = 0;
  int failed = 0;
  for (const auto& c : conformance::cases()) {
    conformance::Check check;
    c.run(check);
    const bool ok = check.failures().empty();
    std::printf("%s - %s%s%s\n", ok ? "ok" : "not ok", c.name, ok ? "" : ": ",
                check.failures().c_str());
    (ok ? passed : failed) += 1;
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
