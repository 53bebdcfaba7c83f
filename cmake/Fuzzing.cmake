# TAVO_FUZZ=ON builds the libFuzzer targets (fuzz/): clang only. Everything is compiled with
# coverage for the fuzzer and with AddressSanitizer and UBSan (float casts included), so that a finding ends the run;
# ./dev fuzz configures exactly this.
if(TAVO_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "TAVO_FUZZ needs clang (libFuzzer): configure with CMAKE_CXX_COMPILER=clang++-14")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined,float-cast-overflow
                        -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()
