# Read by cpack (CPACK_PROJECT_CONFIG_FILE) before it writes a package. The runtime loads the
# engine at run time, so dpkg-shlibdeps no longer finds it among the runtime's libraries; the
# package must still depend on what provides it. dpkg-shlibdeps is run over a probe that links
# the engine (QUILLORA_ENGINE_PROBE; QUILLORA_PACKAGE_WORK is a folder to run it in), and of its answer the entries for the packages that own the
# engine's library files are added, with the versions their shlibs or symbols files ask for.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
set(engine_libraries libwebkit2gtk-4.1.so.0 libjavascriptcoregtk-4.1.so.0)

# dpkg-shlibdeps wants to be run from a source package's folder.
set(work "${QUILLORA_PACKAGE_WORK}")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}/debian")
file(WRITE "${work}/debian/control" "")
execute_process(COMMAND dpkg-shlibdeps -O "-e${QUILLORA_ENGINE_PROBE}"
                WORKING_DIRECTORY "${work}"
                OUTPUT_VARIABLE shlibdeps ERROR_VARIABLE shlibdeps_error
                RESULT_VARIABLE status OUTPUT_STRIP_TRAILING_WHITESPACE)
file(REMOVE_RECURSE "${work}")
if(NOT status EQUAL 0 OR NOT shlibdeps MATCHES "shlibs:Depends=(.*)")
  message(FATAL_ERROR "dpkg-shlibdeps could not tell the engine's packages: ${shlibdeps_error}")
endif()
string(REPLACE ", " ";" probe_depends "${CMAKE_MATCH_1}")

set(engine_depends "")
foreach(library IN LISTS engine_libraries)
  execute_process(COMMAND dpkg-query --search "*/${library}"
                  OUTPUT_VARIABLE owners RESULT_VARIABLE status OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT status EQUAL 0 OR NOT owners MATCHES "^([^:, ]+)")
    message(FATAL_ERROR "no installed package provides ${library}")
  endif()
  set(package "${CMAKE_MATCH_1}")
  set(found "")
  foreach(entry IN LISTS probe_depends)
    string(REGEX MATCH "^[^ ]+" name "${entry}")
    if(name STREQUAL package)
      set(found "${entry}")
    endif()
  endforeach()
  if(found STREQUAL "")
    message(FATAL_ERROR "dpkg-shlibdeps named no dependency on ${package} (${library})")
  endif()
  list(APPEND engine_depends "${found}")
endforeach()

list(JOIN engine_depends ", " engine_depends)
if(CPACK_DEBIAN_PACKAGE_DEPENDS)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CPACK_DEBIAN_PACKAGE_DEPENDS}, ${engine_depends}")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${engine_depends}")
endif()
message(STATUS "The package depends on the engine through: ${engine_depends}")
