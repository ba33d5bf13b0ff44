# Debian packages of the build, made by `cpack` in the build folder (its `package` target):
#   libpfsetup-dev   the libraries, headers, CMake and pkg-config files
#   pfsetup-data     the install project file the library and the tool read
#   pfsetup          the tool, its completion and man page
#   pfsetup-dialogs  pfsetup-dialog, the Qt setup dialogs `pfsetup dialog` runs
# They install under the build's CMAKE_INSTALL_PREFIX, where the library also looks for its
# data; the top-level `make package` configures a build for /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pfsetup)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${PFSETUP_MAINTAINER}")
# Each package's description below begins with its own summary line; an empty common summary
# keeps CPack from putting the project's in front of it.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# Dependencies on shared libraries (libstdc++, Qt) come from dpkg-shlibdeps; those between the
# packages from the component dependencies below.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

# Per package: name, section, what it needs besides shared libraries, and its description
# (a summary line, then the text).
set(CPACK_COMPONENTS_ALL dev data)
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libpfsetup-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_SUGGESTS qt6-base-dev)
set(CPACK_COMPONENT_DEV_DEPENDS data)
set(CPACK_DEBIAN_DEV_DESCRIPTION "Setup options of a part-building tool: library for hosts
The C++17 library pfsetup::core (standard library only) and the Qt 6 dialogs
pfsetup::ui, with their headers, CMake package and pkg-config file. A host
reads and writes the setup options of its users' project files through them.")

set(CPACK_DEBIAN_DATA_PACKAGE_NAME pfsetup-data)
set(CPACK_DEBIAN_DATA_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_DATA_DESCRIPTION "Setup options of a part-building tool: installed defaults
The install project file that the library and the tool read under every
project: the defaults of symbols, pin types, properties and pin names that a
project's own settings and a site's settings override.")

if(TARGET pfsetup)
    list(APPEND CPACK_COMPONENTS_ALL tool)
    set(CPACK_DEBIAN_TOOL_PACKAGE_NAME pfsetup)
    set(CPACK_DEBIAN_TOOL_PACKAGE_SUGGESTS pfsetup-dialogs)
    set(CPACK_COMPONENT_TOOL_DEPENDS data)
    set(CPACK_DEBIAN_TOOL_DESCRIPTION "Setup options of a part-building tool: command-line tool
pfsetup shows, checks and changes the settings kept in layered project files,
saves and applies part templates, and tells how pin names are read. It comes
with bash and zsh completion, a man page and the documents in its doc folder.")
endif()

if(TARGET pfsetup-dialog)
    list(APPEND CPACK_COMPONENTS_ALL dialogs)
    set(CPACK_DEBIAN_DIALOGS_PACKAGE_NAME pfsetup-dialogs)
    set(CPACK_COMPONENT_DIALOGS_DEPENDS tool)
    set(CPACK_DEBIAN_DIALOGS_DESCRIPTION "Setup options of a part-building tool: setup dialogs
The tabbed Qt 6 setup dialog that `pfsetup dialog` shows: the symbol, pin,
property, format and pin-name interpretation pages, and the part templates.")
endif()

include(CPack)
