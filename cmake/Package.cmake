# `cpack -G DEB`: the tool for desktop users and the libraries for host programmers, one Debian
# package each, with Depends computed from the binaries.
set(components Development)
set(packages libterq-dev)
if(WITH_GUI)
    list(APPEND components Runtime)
    list(APPEND packages terqclientcfg)
endif()

# Debian wants a copyright notice and a changelog in every package's doc folder.
# Both packages are native: the changelog is named changelog.gz.
set(deb_changelog ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
terq_gzip(${PROJECT_SOURCE_DIR}/packaging/changelog ${deb_changelog})
foreach(component package IN ZIP_LISTS components packages)
    string(TOUPPER ${component} upper)
    set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${package})
    install(FILES packaging/copyright ${deb_changelog}
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
endforeach()

set(CPACK_PACKAGE_NAME terq)
set(CPACK_PACKAGE_VENDOR "Example Systems Ltd.")
set(CPACK_PACKAGE_CONTACT "Example Systems Ltd. <terq@example.com>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_COMPONENTS_ALL ${components})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.example.com)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "configuration tool of the TERQ lift-dispatch client
TERQClientCfg edits the settings of the terq-client package of the TERQ
lift-dispatch system, kept in $HOME/TERQ/etc/TERQClient.xml: the language of
the client's user interface, Russian or English. It is a small GTK 3 dialog
and keeps a rotating log of its own under $HOME/TERQ/logs.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "libxml2-dev")
if(WITH_GUI)
    string(APPEND CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS ", libwxgtk3.2-dev")
endif()
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "TERQ libraries for host dispatch programs
Static libraries, headers and a CMake package (find_package(terq)) of the
data, device and service layers of the TERQ lift-dispatch system and of the
client configuration document, and of the user-interface layer when built
with wxWidgets.")

include(CPack)
