# What `cmake --install` puts in place, each file in the component of the package that ships it:
# dev (libraries, headers, CMake and pkg-config files), data (the install project file), tool
# (pfsetup, its completion and man page) and dialogs (pfsetup-dialog, in src/app).
include(CMakePackageConfigHelpers)

install(DIRECTORY data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/pfsetup COMPONENT data)

set(PFSETUP_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/pfsetup)
install(EXPORT pfsetupTargets NAMESPACE pfsetup:: DESTINATION ${PFSETUP_CMAKE_DIR} COMPONENT dev)
if(TARGET pfsetup_ui)
    install(EXPORT pfsetupUiTargets NAMESPACE pfsetup:: DESTINATION ${PFSETUP_CMAKE_DIR}
            COMPONENT dev)
endif()
configure_package_config_file(cmake/pfsetupConfig.cmake.in
    ${PROJECT_BINARY_DIR}/pfsetupConfig.cmake
    INSTALL_DESTINATION ${PFSETUP_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/pfsetupConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/pfsetupConfig.cmake ${PROJECT_BINARY_DIR}/pfsetupConfigVersion.cmake
    DESTINATION ${PFSETUP_CMAKE_DIR} COMPONENT dev)

# pfsetup.pc names its folders relative to its own place, so the installed tree can be moved
# or unpacked anywhere (cmake --install --prefix DIR, a package unpacked into a scratch root).
set(PFSETUP_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH PFSETUP_PC_PREFIX ${CMAKE_INSTALL_PREFIX}/${PFSETUP_PC_DIR} ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" PFSETUP_PC_PREFIX "${PFSETUP_PC_PREFIX}")
file(RELATIVE_PATH PFSETUP_PC_LIBDIR ${CMAKE_INSTALL_PREFIX} ${CMAKE_INSTALL_FULL_LIBDIR})
file(RELATIVE_PATH PFSETUP_PC_INCLUDEDIR ${CMAKE_INSTALL_PREFIX} ${CMAKE_INSTALL_FULL_INCLUDEDIR})
configure_file(cmake/pfsetup.pc.in ${PROJECT_BINARY_DIR}/pfsetup.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/pfsetup.pc DESTINATION ${PFSETUP_PC_DIR} COMPONENT dev)

# Completion and the man page, when the sources hold them. bash-completion looks in
# share/bash-completion/completions under every XDG data folder; Debian's zsh in
# vendor-completions for /usr, and in share/zsh/site-functions under other prefixes.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    set(PFSETUP_ZSH_DIR_DEFAULT ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
else()
    set(PFSETUP_ZSH_DIR_DEFAULT ${CMAKE_INSTALL_DATADIR}/zsh/site-functions)
endif()
set(PFSETUP_ZSH_COMPLETION_DIR ${PFSETUP_ZSH_DIR_DEFAULT} CACHE STRING
    "Where zsh completion functions are installed")
set(PFSETUP_BASH_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/bash-completion/completions CACHE STRING
    "Where bash completion scripts are installed")
install(FILES completion/pfsetup.bash DESTINATION ${PFSETUP_BASH_COMPLETION_DIR} RENAME pfsetup
        COMPONENT tool OPTIONAL)
install(FILES completion/_pfsetup DESTINATION ${PFSETUP_ZSH_COMPLETION_DIR} COMPONENT tool OPTIONAL)

# What Debian asks of every package: the man pages compressed, and in share/doc/PACKAGE the
# copyright (DEP-5) and changelog.Debian.gz; the tool's package also carries the documents
# its man page points to. The Maintainer field comes from PFSETUP_MAINTAINER, else from
# `git config` of the sources.
set(PFSETUP_MAINTAINER "" CACHE STRING "Maintainer of the Debian packages: Name <address>")
if(NOT PFSETUP_MAINTAINER)
    execute_process(COMMAND git config user.name WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE maintainer_name OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(COMMAND git config user.email WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE maintainer_email OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(maintainer_name AND maintainer_email)
        set(PFSETUP_MAINTAINER "${maintainer_name} <${maintainer_email}>")
    else()
        if(PFSETUP_TOP_LEVEL)
            message(WARNING "pfsetup: set PFSETUP_MAINTAINER for the packages' Maintainer field")
        endif()
        set(PFSETUP_MAINTAINER "pfsetup developers <pfsetup@localhost>")
    endif()
endif()
set(PFSETUP_DEB_VERSION ${PROJECT_VERSION}-1)
string(TIMESTAMP PFSETUP_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(PFSETUP_DEB_DIR ${PROJECT_BINARY_DIR}/debian)
configure_file(cmake/debian/copyright ${PFSETUP_DEB_DIR}/copyright @ONLY)
configure_file(cmake/debian/changelog.in ${PFSETUP_DEB_DIR}/changelog @ONLY)
function(pfsetup_gzip source target)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    execute_process(COMMAND gzip -9nc ${source} OUTPUT_FILE ${target})
endfunction()
pfsetup_gzip(${PFSETUP_DEB_DIR}/changelog ${PFSETUP_DEB_DIR}/changelog.Debian.gz)
foreach(page pfsetup pfsetup-dialog)
    pfsetup_gzip(${PROJECT_SOURCE_DIR}/man/${page}.1 ${PFSETUP_DEB_DIR}/${page}.1.gz)
endforeach()

set(PFSETUP_PACKAGES dev:libpfsetup-dev data:pfsetup-data)
if(TARGET pfsetup)
    list(APPEND PFSETUP_PACKAGES tool:pfsetup)
    install(FILES ${PFSETUP_DEB_DIR}/pfsetup.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
            COMPONENT tool)
    install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pfsetup COMPONENT tool)
    install(DIRECTORY docs DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pfsetup COMPONENT tool)
endif()
if(TARGET pfsetup-dialog)
    list(APPEND PFSETUP_PACKAGES dialogs:pfsetup-dialogs)
    install(FILES ${PFSETUP_DEB_DIR}/pfsetup-dialog.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
            COMPONENT dialogs)
endif()
foreach(package IN LISTS PFSETUP_PACKAGES)
    string(REPLACE ":" ";" package ${package})
    list(GET package 0 component)
    list(GET package 1 name)
    install(FILES ${PFSETUP_DEB_DIR}/copyright ${PFSETUP_DEB_DIR}/changelog.Debian.gz
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${name} COMPONENT ${component})
    # The packages are built from the sources, never uploaded to Debian: no ITP bug to close.
    file(WRITE ${PFSETUP_DEB_DIR}/overrides/${name}
         "# Built from the sources, not uploaded to Debian: there is no ITP bug to close.\n"
         "${name}: initial-upload-closes-no-bugs\n")
    install(FILES ${PFSETUP_DEB_DIR}/overrides/${name}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides COMPONENT ${component})
endforeach()
