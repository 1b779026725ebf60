# quillbeam_add_qtest(<name> SOURCES <files> LIBRARIES <targets>): a QtTest executable registered
# with ctest (label unit), run headless on the offscreen platform with a private runtime folder. The platform
# theme is emptied, so that a theme chosen on the test machine (gtk3, say) cannot put the desktop's
# own dialogs in place of Qt's, which the tests drive; they also set AA_DontUseNativeDialogs.
# Imported targets are seen only below the folder that finds them, so every includer finds them.
find_package(Qt6 REQUIRED COMPONENTS Test Widgets)
include_guard(GLOBAL)

set(QUILLBEAM_QTEST_RUNTIME_DIR ${CMAKE_BINARY_DIR}/qtest-runtime)
file(MAKE_DIRECTORY ${QUILLBEAM_QTEST_RUNTIME_DIR})
file(CHMOD ${QUILLBEAM_QTEST_RUNTIME_DIR} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

function(quillbeam_add_qtest name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LIBRARIES")
  add_executable(${name} ${arg_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/shell/support)
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} quillbeam_test_support Qt6::Test
                                        Qt6::Widgets)
  quillbeam_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600 LABELS unit ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;QT_QPA_PLATFORMTHEME=;QTEST_DISABLE_STACK_DUMP=1;XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/qtest-runtime")
endfunction()
