# The Debian package, built from an existing build folder with `cpack -G DEB` (scripts/test-package
# does that and tries the result). It holds what `cmake --install` puts under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillora)
set(CPACK_PACKAGE_VENDOR "Quillora")
set(CPACK_PACKAGE_CONTACT "Quillora developers <quillora@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # quillora_VERSION-RELEASE_ARCH.deb
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "makes HTML e-books that open like desktop programs")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "makes HTML e-books that open like desktop programs
 quillora-pack turns a folder of HTML pages and a settings file into an
 e-book: a copy of the Quillora runtime (GTK 3 and WebKitGTK) that opens
 the pages in a window set up from the settings.")
# The libraries the binaries link come from dpkg-shlibdeps; what they load at run time without
# linking it is named here: the tool-bar images and the program's icon are SVG.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "librsvg2-common")
# Where the runtime loads the engine at run time, dpkg-shlibdeps cannot see it; the packages
# that provide it are found through a probe that links it when cpack runs.
if(TARGET quillora-engine-probe)
  file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/CPackEngineDepends.cmake CONTENT
       "set(QUILLORA_ENGINE_PROBE \"$<TARGET_FILE:quillora-engine-probe>\")
set(QUILLORA_PACKAGE_WORK \"${PROJECT_BINARY_DIR}/_CPack_Packages/engine-depends\")
include(\"${PROJECT_SOURCE_DIR}/cmake/debian-engine-depends.cmake\")\n")
  set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackEngineDepends.cmake)
endif()
# The build folder may carry debug information (the tests' build); the package never does.
set(CPACK_STRIP_FILES ON)
include(CPack)
