# -DMAVELO_FUZZ=ON (clang only): every library is built with the fuzzer's
# coverage hooks and with AddressSanitizer and UndefinedBehaviorSanitizer, and
# tests/fuzz adds one libFuzzer program per reader.  Used by scripts/fuzz.
option(MAVELO_FUZZ "Build the libFuzzer targets (clang) with sanitizers" OFF)
if(MAVELO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "MAVELO_FUZZ needs clang (CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
