# AddressSanitizer and UndefinedBehaviorSanitizer for the whole build.
if(PFSETUP_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()
# Coverage for libFuzzer across the whole build, so the fuzzers see inside the library.
if(PFSETUP_BUILD_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
