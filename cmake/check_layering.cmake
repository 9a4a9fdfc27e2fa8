# Fails when the system code reaches past its layers: Brisvane's and
# Brisvane64's sources (the stand-in DLLs aside) include only the ports,
# the dialog framework, the standard library and their own layers below
# them. Run as `cmake -DSOURCE_DIR=... -P check_layering.cmake`.
#
# Each rule: a folder, then the include prefixes its files must not use.
set(forbidden_everywhere "platform/sim/" "platform/win32/" "tools/" "tests/")
set(rules
  "installer/engine|installer/app/,installer/jobs/"
  "installer/payload|installer/app/,installer/jobs/"
  "installer/netsetup|installer/app/,installer/jobs/"
  "installer/controls|installer/app/,installer/jobs/,installer/engine/"
  "installer/jobs|installer/app/"
  "pnphelper|installer/")

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
     ${SOURCE_DIR}/installer/*.h ${SOURCE_DIR}/installer/*.cpp
     ${SOURCE_DIR}/pnphelper/*.h ${SOURCE_DIR}/pnphelper/*.cpp)
list(FILTER sources EXCLUDE REGEX "^installer/standins/")

set(violations "")
foreach(source IN LISTS sources)
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include")
  set(forbidden ${forbidden_everywhere})
  foreach(rule IN LISTS rules)
    string(REPLACE "|" ";" parts "${rule}")
    list(GET parts 0 folder)
    list(GET parts 1 prefixes)
    if(source MATCHES "^${folder}/")
      string(REPLACE "," ";" prefixes "${prefixes}")
      list(APPEND forbidden ${prefixes})
    endif()
  endforeach()
  foreach(line IN LISTS includes)
    # A header in angle brackets with an extension is a platform's, not
    # the standard library's (<windows.h>, <winspool.h>, ...).
    if(line MATCHES "<[^>]*\\.[hH][^>]*>")
      list(APPEND violations "${source}: ${line}")
      continue()
    endif()
    foreach(prefix IN LISTS forbidden)
      if(line MATCHES "\"${prefix}")
        list(APPEND violations "${source}: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "Includes that cross the layers:\n  ${text}")
endif()
message(STATUS "Every include keeps to its layer")
