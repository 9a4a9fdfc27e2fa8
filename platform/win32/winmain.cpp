// The entry of a Windows program: hands the command line to the ports and
// runs the program's main function.
#include "platform/api/program_main.h"
#include "platform/win32/win32_ports.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR arguments, int show) {
  (void)instance;
  (void)previous;
  (void)show;
  plat::win32::setCommandLineArguments(arguments);
  return programMain();
}
