#include "tools/simhost/simhost.h"

#include "installer/app/brisvane_app.h"

const plat::sim::ResourceSet& brisvaneResources();

namespace brisvane::simhost {

plat::sim::ProgramImage brisvaneImage() {
  plat::sim::ProgramImage image;
  image.name = kBrisvaneProgram;
  image.entry = brisvaneMain;
  image.resources = &brisvaneResources();
  image.is64Bit = false;
  image.declaresSupportedOs = false;
  return image;
}

void installPrograms(plat::sim::Machine& machine) {
  machine.installProgram(brisvaneImage());
}

}  // namespace brisvane::simhost
