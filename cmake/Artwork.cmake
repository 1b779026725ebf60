# The sizes the application icon ships in, each drawn as resources/artwork/icon-<size>.png. They
# are listed once, in resources/artwork/icon-sizes.txt, which tools/render-artwork.sh and
# tools/deb-check.sh read too. QUILLBEAM_ICON_SIZES holds them as a list; the
# quillbeam_icon_sizes target gives C++ the same list, as QUILLBEAM_ICON_SIZES=16,24,...
set(QUILLBEAM_ARTWORK_DIR ${PROJECT_SOURCE_DIR}/resources/artwork)
file(READ ${QUILLBEAM_ARTWORK_DIR}/icon-sizes.txt icon_sizes)
string(REGEX MATCHALL "[0-9]+" QUILLBEAM_ICON_SIZES "${icon_sizes}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${QUILLBEAM_ARTWORK_DIR}/icon-sizes.txt)

string(JOIN "," icon_sizes ${QUILLBEAM_ICON_SIZES})
add_library(quillbeam_icon_sizes INTERFACE)
target_compile_definitions(quillbeam_icon_sizes INTERFACE QUILLBEAM_ICON_SIZES=${icon_sizes})

# The Qt program's resource file: the banner and every icon size, under :/artwork/.
set(QUILLBEAM_ARTWORK_QRC ${CMAKE_BINARY_DIR}/resources/artwork.qrc)
set(qrc_files "    <file alias=\"artwork/banner.png\">${QUILLBEAM_ARTWORK_DIR}/banner.png</file>\n")
foreach(size ${QUILLBEAM_ICON_SIZES})
  string(APPEND qrc_files
         "    <file alias=\"artwork/icon-${size}.png\">${QUILLBEAM_ARTWORK_DIR}/icon-${size}.png</file>\n")
endforeach()
file(CONFIGURE OUTPUT ${QUILLBEAM_ARTWORK_QRC} CONTENT
     "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/\">\n${qrc_files}  </qresource>\n</RCC>\n")
