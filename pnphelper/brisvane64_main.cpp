// Brisvane64: the 64-bit helper that Brisvane starts on 64-bit Windows.
// It has no window; so far it only starts and ends.
#include "platform/api/program_main.h"

int programMain() {
  return 0;
}
