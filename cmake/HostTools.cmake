# A cross build cannot run its own programs without an emulator, and nothing may need one at
# build time: tools/host builds the programs the build runs for the build machine, as a nested
# project with the build machine's compiler.
include(ExternalProject)
set(host_tools_dir ${CMAKE_BINARY_DIR}/host-tools)
set(QUILLBEAM_HOST_BANNERMOVIE ${host_tools_dir}/bin/bannermovie)
set(QUILLBEAM_HOST_PLAYER_FACTS ${host_tools_dir}/bin/player_facts)
set(QUILLBEAM_HOST_SAMPLE_WRITER ${host_tools_dir}/bin/write_sample_packages)
ExternalProject_Add(quillbeam_host_tools
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools/host
  BINARY_DIR ${host_tools_dir}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DQUILLBEAM_WARNINGS_AS_ERRORS=${QUILLBEAM_WARNINGS_AS_ERRORS}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${QUILLBEAM_HOST_BANNERMOVIE} ${QUILLBEAM_HOST_PLAYER_FACTS}
                   ${QUILLBEAM_HOST_SAMPLE_WRITER}
)
