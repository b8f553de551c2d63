# What `cmake --install` lays down: the tool with its desktop entry, icons and metainfo for desktop
# users, and the libraries with their headers and a CMake package for host programs.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# Debian's tools want manual pages and changelogs compressed reproducibly (no name, no time).
function(terq_gzip source output)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    get_filename_component(folder ${output} DIRECTORY)
    file(MAKE_DIRECTORY ${folder})
    execute_process(COMMAND gzip -9nc ${source} OUTPUT_FILE ${output} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

set(TERQ_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/terq)
# Host programs include "dblib/DBString.h" as the tree does, from include/terq.
set(TERQ_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/terq)

# Headers go by folder, so that new modules are installed without touching this file.
install(DIRECTORY dblib lib clientcfg DESTINATION ${TERQ_INCLUDE_DIR} COMPONENT Development
        FILES_MATCHING PATTERN "*.h")
install(TARGETS terq EXPORT terqTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
        INCLUDES DESTINATION ${TERQ_INCLUDE_DIR})
install(EXPORT terqTargets NAMESPACE terq:: DESTINATION ${TERQ_CMAKE_DIR} COMPONENT Development)
# The inspection tool serves the same people as the libraries: it goes with them.
install(TARGETS terq-inspect RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Development)
configure_file(packaging/terq-inspect.1.in ${PROJECT_BINARY_DIR}/packaging/terq-inspect.1 @ONLY)
terq_gzip(${PROJECT_BINARY_DIR}/packaging/terq-inspect.1
          ${PROJECT_BINARY_DIR}/packaging/terq-inspect.1.gz)
install(FILES ${PROJECT_BINARY_DIR}/packaging/terq-inspect.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Development)

if(WITH_GUI)
    install(DIRECTORY uilib DESTINATION ${TERQ_INCLUDE_DIR} COMPONENT Development
            FILES_MATCHING PATTERN "*.h")
    # A separate export, so that hosts without wxWidgets still find terq::terq.
    install(TARGETS terq_ui EXPORT terqUiTargets
            ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
            INCLUDES DESTINATION ${TERQ_INCLUDE_DIR})
    install(EXPORT terqUiTargets NAMESPACE terq:: DESTINATION ${TERQ_CMAKE_DIR}
            COMPONENT Development)

    install(TARGETS TERQClientCfg RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)
    install(FILES packaging/TERQClientCfg.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT Runtime)
    configure_file(packaging/TERQClientCfg.1.in ${PROJECT_BINARY_DIR}/packaging/TERQClientCfg.1 @ONLY)
    terq_gzip(${PROJECT_BINARY_DIR}/packaging/TERQClientCfg.1
              ${PROJECT_BINARY_DIR}/packaging/TERQClientCfg.1.gz)
    install(FILES ${PROJECT_BINARY_DIR}/packaging/TERQClientCfg.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Runtime)
    configure_file(packaging/TERQClientCfg.metainfo.xml.in
                   ${PROJECT_BINARY_DIR}/packaging/com.example.TERQClientCfg.metainfo.xml @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/packaging/com.example.TERQClientCfg.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT Runtime)

    # The 32x32 picture is drawn from the window icon itself; the SVG is its scalable copy.
    add_executable(terq_icon_png packaging/MakeIconPng.cpp)
    target_include_directories(terq_icon_png PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(terq_icon_png PRIVATE wx_deps)
    project_warnings(terq_icon_png)
    set(icon_png ${PROJECT_BINARY_DIR}/packaging/TERQClientCfg.png)
    add_custom_command(OUTPUT ${icon_png} COMMAND terq_icon_png ${icon_png}
                       DEPENDS terq_icon_png VERBATIM)
    add_custom_target(terq_icon ALL DEPENDS ${icon_png})
    set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
    install(FILES ${icon_png} DESTINATION ${icons}/32x32/apps COMPONENT Runtime)
    install(FILES packaging/TERQClientCfg.svg DESTINATION ${icons}/scalable/apps
            COMPONENT Runtime)
endif()

configure_package_config_file(cmake/terqConfig.cmake.in ${PROJECT_BINARY_DIR}/terqConfig.cmake
                              INSTALL_DESTINATION ${TERQ_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/terqConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/terqConfig.cmake ${PROJECT_BINARY_DIR}/terqConfigVersion.cmake
        DESTINATION ${TERQ_CMAKE_DIR} COMPONENT Development)
