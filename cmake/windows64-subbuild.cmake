# The 32-bit Brisvane.exe carries 64-bit files: Brisvane64.exe (resource
# 163) and the x64 stand-in DLLs of the driver package. They are built
# first, by the x86_64 toolchain, in a build of their own inside this one.
include(ExternalProject)

set(BRISVANE_WINDOWS64_DIR ${PROJECT_BINARY_DIR}/windows64)
set(BRISVANE_X64_STANDINS_DIR ${BRISVANE_WINDOWS64_DIR}/installer/standins)
set(BRISVANE64_PAYLOAD ${BRISVANE_WINDOWS64_DIR}/pnphelper/Brisvane64.exe)
set(x64_targets Brisvane64 Seagull_V3_NetMonDispatcher Seagull_V3_PrintDispatcher
    Seagull_V3_ConfigDispatcher)
ExternalProject_Add(windows64
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${BRISVANE_WINDOWS64_DIR}
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-mingw-x86_64.cmake
             -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DBRISVANE_TESTS=OFF
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target ${x64_targets}
  INSTALL_COMMAND ""
  BUILD_ALWAYS TRUE
  BUILD_BYPRODUCTS ${BRISVANE64_PAYLOAD}
                   ${BRISVANE_X64_STANDINS_DIR}/Seagull_V3_NetMonDispatcher.dll
                   ${BRISVANE_X64_STANDINS_DIR}/Seagull_V3_PrintDispatcher.dll
                   ${BRISVANE_X64_STANDINS_DIR}/Seagull_V3_ConfigDispatcher.dll)
