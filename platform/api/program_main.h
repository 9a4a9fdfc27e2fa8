// The program's main function. The Windows backend's entry point calls it;
// on the simulated machine programs are started by name instead.
#pragma once

int programMain();
