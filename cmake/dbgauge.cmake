# dbgauge_component(NAME SOURCES... DEPENDS deps...)
# Each directory of the library is one static component, built position-independent with
# hidden visibility; libdbgauge.so takes them whole and exports only include/dbgauge.h.
function(dbgauge_component name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(dbgauge_${name} STATIC ${ARG_SOURCES})
  target_include_directories(dbgauge_${name} PUBLIC ${PROJECT_SOURCE_DIR}
                                                    ${PROJECT_SOURCE_DIR}/include)
  target_link_libraries(dbgauge_${name} PUBLIC ${ARG_DEPENDS})
endfunction()
