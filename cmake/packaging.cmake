# `cpack -G DEB` in the build tree: three Debian packages. libzpv4870-1 (named for the SONAME
# libzpv4870.so.1, as Debian's policy asks) holds the shared library in the multiarch directory,
# libzpv4870-dev the headers, the CMake package and zpv4870.pc, zpv4870-tools the command-line
# tool and the simulator. Dependencies on other packages come from dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zpv4870)
set(CPACK_PACKAGE_VENDOR "zpv4870 developers")
set(CPACK_PACKAGE_CONTACT "zpv4870 developers <zpv4870@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "driver for the ZPV4870 AC power sources")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev tools)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The tools link the library of the runtime package, which is not installed while packaging.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR})
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/zpv4870")
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libzpv4870-1)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "driver for the ZPV4870 AC power sources - shared library
 The library behind the ZPV4870 driver: an object interface and a flat C
 interface over TCP sockets, serial lines, VXI-11, HiSLIP and USBTMC, with
 a simulation mode.")
# ldconfig runs through its trigger once the library is unpacked or removed; the maintainer scripts
# are ours so that CPack does not add direct ldconfig calls to them.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/triggers
    ${PROJECT_SOURCE_DIR}/packaging/postinst ${PROJECT_SOURCE_DIR}/packaging/postrm)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libzpv4870-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEV_DEPENDS runtime)
set(CPACK_COMPONENT_DEV_DESCRIPTION "driver for the ZPV4870 AC power sources - development files
 Headers (zpv4870/zpv4870.h for C, zpv4870/ZPV4870.h for C++), the CMake
 package (find_package(zpv4870)) and the pkg-config file zpv4870.pc.")

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME zpv4870-tools)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION electronics)
set(CPACK_COMPONENT_TOOLS_DEPENDS runtime)
set(CPACK_COMPONENT_TOOLS_DESCRIPTION "driver for the ZPV4870 AC power sources - command-line tools
 zpv4870 talks to an instrument from the shell: identity, attributes,
 measurements, list programs from YAML files, the error queue.
 zpv4870-sim simulates an instrument.")

include(CPack)
