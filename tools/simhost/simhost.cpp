#include "tools/simhost/simhost.h"

#include "installer/app/brisvane_app.h"
#include "pnphelper/brisvane64_app.h"

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

plat::sim::ProgramImage brisvane64Image() {
  plat::sim::ProgramImage image;
  image.name = kBrisvane64Program;
  image.entry = brisvane64Main;
  image.is64Bit = true;
  return image;
}

void installPrograms(plat::sim::Machine& machine) {
  machine.installProgram(brisvaneImage());
  machine.installProgram(brisvane64Image());
}

}  // namespace brisvane::simhost
