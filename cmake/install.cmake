# Install layout, the CMake package and the pkg-config file. The package files
# locate the header and the plug-in relative to where they themselves lie, so
# an installed prefix still works after it is moved as a whole.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# The plug-in finds libquill_base beside it through its $ORIGIN run path; the
# scanner is never linked to the plug-in and loads it by a path relative to its
# own folder, and the PDF module from the plug-in's folder.
install(TARGETS tarn_code39ext quill_base tarn_pdf
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS tarn-scan RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/host_interface/tarn_interface.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)

# The reading library, which finds the plug-in in its own folder.
install(TARGETS tarn_scan EXPORT tarn_code39ext_targets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/scan/include/tarn/scan.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tarn)

# Hosts dlopen the plug-in by this file name; it carries no version suffix.
set(TARN_PLUGIN_NAME
    ${CMAKE_SHARED_LIBRARY_PREFIX}tarn_code39ext${CMAKE_SHARED_LIBRARY_SUFFIX})
set(TARN_PLUGIN_FILE ${CMAKE_INSTALL_LIBDIR}/${TARN_PLUGIN_NAME})

set(tarn_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/tarn_code39ext)
configure_package_config_file(
  ${CMAKE_CURRENT_LIST_DIR}/tarn_code39extConfig.cmake.in
  ${PROJECT_BINARY_DIR}/tarn_code39extConfig.cmake
  INSTALL_DESTINATION ${tarn_package_dir}
  PATH_VARS CMAKE_INSTALL_INCLUDEDIR TARN_PLUGIN_FILE)
# A host built against one header may load any plug-in of the same major
# version.
write_basic_package_version_file(
  ${PROJECT_BINARY_DIR}/tarn_code39extConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/tarn_code39extConfig.cmake
              ${PROJECT_BINARY_DIR}/tarn_code39extConfigVersion.cmake
        DESTINATION ${tarn_package_dir})
install(EXPORT tarn_code39ext_targets NAMESPACE tarn_code39ext::
        DESTINATION ${tarn_package_dir})

# pkg-config, for hosts and for the reading library: the prefix is found
# from the .pc file's own folder.
set(tarn_pc_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
set(tarn_pc_to_prefix ${CMAKE_INSTALL_PREFIX})
cmake_path(RELATIVE_PATH tarn_pc_to_prefix
           BASE_DIRECTORY ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig)
foreach(dir IN ITEMS LIBDIR INCLUDEDIR)
  # ${prefix}/<dir>, or <dir> itself when it was given as an absolute path.
  set(tarn_pc_${dir} [[${prefix}]])
  cmake_path(APPEND tarn_pc_${dir} ${CMAKE_INSTALL_${dir}})
endforeach()
list(TRANSFORM CMAKE_DL_LIBS PREPEND -l OUTPUT_VARIABLE tarn_pc_libs)
foreach(package IN ITEMS tarn_code39ext tarn_code39ext-scan)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${package}.pc.in
                 ${PROJECT_BINARY_DIR}/${package}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${package}.pc DESTINATION ${tarn_pc_dir})
endforeach()
