# Writes OUTPUT: the package architecture and the Depends of a book's Debian package, as
# dpkg-shlibdeps finds them for the runtime RUNTIME and the engine probe PROBE together.
# Run with cmake -P after each link of either (see src/CMakeLists.txt).
foreach(variable RUNTIME PROBE OUTPUT WORK)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "record-runtime-depends: ${variable} is not set")
  endif()
endforeach()

# dpkg-shlibdeps reads the package's name from debian/control in its working folder.
file(REMOVE_RECURSE ${WORK})
file(WRITE ${WORK}/debian/control "Source: quillora-book\n\nPackage: quillora-book\nArchitecture: any\n")
execute_process(COMMAND dpkg-shlibdeps -O -e${RUNTIME} -e${PROBE}
                WORKING_DIRECTORY ${WORK}
                OUTPUT_VARIABLE shlibs ERROR_VARIABLE warnings RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "dpkg-shlibdeps failed:\n${warnings}")
endif()
string(REGEX MATCH "shlibs:Depends=[^\n]*" depends "${shlibs}")
string(REPLACE "shlibs:Depends=" "" depends "${depends}")
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE architecture
                OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
if(failed OR architecture STREQUAL "")
  message(FATAL_ERROR "dpkg --print-architecture failed")
endif()
file(WRITE ${OUTPUT}.new "Architecture: ${architecture}\nDepends: ${depends}\n")
file(RENAME ${OUTPUT}.new ${OUTPUT})
file(REMOVE_RECURSE ${WORK})
