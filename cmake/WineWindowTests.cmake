# quillbeam_add_wine_window_test(<target> [DPI <dots per inch>]): a Windows test program that
# opens windows, run under Wine on a private X server. With DPI, Wine's screen is set to that
# resolution for the run (and back to 96 afterwards), and the program learns it from
# QUILLBEAM_EXPECTED_DPI. These tests share the prefix's screen settings, so they run one at a time.
function(quillbeam_add_wine_window_test target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "DPI;NAME" "")
  if(NOT arg_NAME)
    set(arg_NAME ${target})
  endif()
  if(NOT arg_DPI)
    set(arg_DPI 96)
  endif()
  add_test(NAME ${arg_NAME}
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/support/run-on-wine-screen.sh ${arg_DPI}
                   $<TARGET_FILE:${target}>)
  set_tests_properties(${arg_NAME} PROPERTIES TIMEOUT 600 RESOURCE_LOCK wine_screen LABELS window
                       ENVIRONMENT "${QUILLBEAM_WINE_ENVIRONMENT};QUILLBEAM_EXPECTED_DPI=${arg_DPI}")
endfunction()
