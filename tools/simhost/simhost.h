// The programs of this project as the simulated machine runs them.
#pragma once

#include "platform/sim/machine.h"

namespace brisvane::simhost {

inline constexpr wchar_t kBrisvaneProgram[] = L"Brisvane.exe";
inline constexpr wchar_t kBrisvane64Program[] = L"Brisvane64.exe";

// Brisvane.exe: 32-bit, with its compiled resources, no supported-OS list.
plat::sim::ProgramImage brisvaneImage();

// Brisvane64.exe: 64-bit, without resources.
plat::sim::ProgramImage brisvane64Image();

// Installs every program of the project on `machine`.
void installPrograms(plat::sim::Machine& machine);

}  // namespace brisvane::simhost
