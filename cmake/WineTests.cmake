# Windows test programs run through the emulator (Wine) in a prefix inside this build folder, so
# that no test touches the user's own Wine. The toolchain file names the loader; ctest hands the
# environment below to every test, and wine.env hands it to the scripts that start from the build
# folder (tools/windows-tests.sh, the benchmarks), which prepare the prefix through testkit/wine.sh.
set(QUILLBEAM_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(CMAKE_CROSSCOMPILING_EMULATOR)
  set(QUILLBEAM_WINE_ENVIRONMENT WINEPREFIX=${QUILLBEAM_WINEPREFIX} WINEDEBUG=-all
                                 QUILLBEAM_WINE=${CMAKE_CROSSCOMPILING_EMULATOR})
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/wine.env CONTENT
       "export WINEPREFIX='${QUILLBEAM_WINEPREFIX}' WINEDEBUG=-all QUILLBEAM_WINE='${CMAKE_CROSSCOMPILING_EMULATOR}'\n")
  set(CMAKE_CROSSCOMPILING_EMULATOR env ${QUILLBEAM_WINE_ENVIRONMENT}
                                    ${CMAKE_CROSSCOMPILING_EMULATOR})
endif()
