# Windows test programs run through the emulator (Wine) in a prefix inside this build folder, so
# that no test touches the user's own Wine. tools/dev.sh windows creates the prefix before ctest.
set(QUILLBEAM_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${QUILLBEAM_WINEPREFIX} WINEDEBUG=-all
                                    ${CMAKE_CROSSCOMPILING_EMULATOR})
endif()
