# What `cmake --install` puts where: the library (with its SONAME), the public headers under
# include/zpv4870/, the CMake package and pkg-config files, the tool and the simulator with their
# manual pages, and each package's copyright and changelog. Components: runtime, dev, tools.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS zpv4870 EXPORT zpv4870Targets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev)
install(FILES include/ZPV4870.h include/zpv4870.h include/zpv4870_runtime.h include/zpv4870_direct_read.h include/zpv4870_find.h
              include/zpv4870/driver.hpp include/zpv4870/find.hpp
              include/zpv4870/driver_members.hpp include/zpv4870/driver_facts.hpp
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zpv4870 COMPONENT dev)
install(EXPORT zpv4870Targets NAMESPACE zpv4870:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/zpv4870 COMPONENT dev)
configure_package_config_file(cmake/zpv4870Config.cmake.in ${PROJECT_BINARY_DIR}/zpv4870Config.cmake
                              INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/zpv4870)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/zpv4870ConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/zpv4870Config.cmake ${PROJECT_BINARY_DIR}/zpv4870ConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/zpv4870 COMPONENT dev)
# Relative to the file itself, so the installed tree may move (and --prefix at install time works).
file(RELATIVE_PATH ZPV4870_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
configure_file(cmake/zpv4870.pc.in ${PROJECT_BINARY_DIR}/zpv4870.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/zpv4870.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)

# The trace stylesheet, where a trace finds it with ZPV4870_IVI_ROOT=<prefix>/share/zpv4870 (and
# in the build tree with ZPV4870_IVI_ROOT=build/share/zpv4870).
configure_file(share/trace.xslt ${PROJECT_BINARY_DIR}/share/zpv4870/Components/Kaltrix/trace.xslt COPYONLY)
install(FILES share/zpv4870/catalog.json DESTINATION ${CMAKE_INSTALL_DATADIR}/zpv4870 COMPONENT runtime)
install(FILES share/trace.xslt DESTINATION ${CMAKE_INSTALL_DATADIR}/zpv4870/Components/Kaltrix COMPONENT runtime)

install(TARGETS zpv4870_cli zpv4870-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
install(FILES share/bash-completion/zpv4870 DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT tools)

# Manual pages and the Debian changelog, compressed as Debian installs them.
set(zpv4870_gzip_inputs docs/zpv4870.1 docs/zpv4870-sim.1 packaging/changelog)
foreach(input ${zpv4870_gzip_inputs})
  get_filename_component(name ${input} NAME)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/packaging/${name}.gz
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
                     COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/${input} > ${PROJECT_BINARY_DIR}/packaging/${name}.gz
                     DEPENDS ${PROJECT_SOURCE_DIR}/${input})
  list(APPEND zpv4870_gzipped ${PROJECT_BINARY_DIR}/packaging/${name}.gz)
endforeach()
add_custom_target(zpv4870_compressed_docs ALL DEPENDS ${zpv4870_gzipped})
install(FILES ${PROJECT_BINARY_DIR}/packaging/zpv4870.1.gz ${PROJECT_BINARY_DIR}/packaging/zpv4870-sim.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tools)

foreach(pair "runtime;libzpv4870-1" "dev;libzpv4870-dev" "tools;zpv4870-tools")
  list(GET pair 0 component)
  list(GET pair 1 package)
  install(FILES packaging/copyright DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
  install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package}
          RENAME changelog.Debian.gz COMPONENT ${component})
endforeach()
