// Brisvane64: the 64-bit helper that Brisvane starts on 64-bit Windows.
#include "platform/api/program_main.h"

#include "pnphelper/brisvane64_app.h"

int programMain() {
  return brisvane::brisvane64Main();
}
