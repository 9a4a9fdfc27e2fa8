# Brisvane64.exe (and a 64-bit Brisvane.exe for 64-bit Wine): 64-bit Windows.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Tests of the Windows programs run under 64-bit Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
