# QUILLBEAM_SANITIZE: every target built with AddressSanitizer and UndefinedBehaviorSanitizer,
# stopping at the first report.
option(QUILLBEAM_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(QUILLBEAM_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# QUILLBEAM_FUZZ: the libFuzzer targets, which need clang.
option(QUILLBEAM_FUZZ "Build the libFuzzer targets (clang only)" OFF)
if(QUILLBEAM_FUZZ AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "QUILLBEAM_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
endif()
