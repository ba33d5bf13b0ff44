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
install(FILES man/pfsetup.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tool OPTIONAL)
