# The hardening Debian builds its packages with: stack protection, fortified C library calls,
# position-independent executables, and relocations read-only from the start (bindnow).
# `make package` turns it on; it is off by default, so a development build is not rebuilt.
option(PFSETUP_HARDENING "Build with Debian's hardening flags" OFF)
if(PFSETUP_HARDENING AND NOT PFSETUP_SANITIZE AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    add_compile_options(-fstack-protector-strong -fstack-clash-protection
        $<$<OR:$<CONFIG:Release>,$<CONFIG:RelWithDebInfo>,$<CONFIG:MinSizeRel>>:-D_FORTIFY_SOURCE=2>)
    add_link_options(-pie LINKER:-z,relro LINKER:-z,now)
endif()
