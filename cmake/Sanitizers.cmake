# AddressSanitizer (with leak checking) and UndefinedBehaviorSanitizer for the whole build.
if(VELK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Fuzzing build (clang): the whole library is instrumented for coverage and checked by
# ASan and UBSan; the fuzz targets link libFuzzer's driver.
option(VELK_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
if(VELK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VELK_FUZZ needs clang (configure with -DCMAKE_CXX_COMPILER=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
