#include "platform/api/program_main.h"

#include "installer/app/brisvane_app.h"

int programMain() {
  return brisvane::brisvaneMain();
}
