# editor2_widget_library(<name> <sources...> [PUBLIC <targets...>] [PRIVATE <targets...>]):
# a folder's dialogs and widgets as a static library on Qt Widgets, its headers
# public from the calling folder, with the project's warnings; PUBLIC and
# PRIVATE name what it links besides Qt Widgets.
function(editor2_widget_library name)
    cmake_parse_arguments(ARG "" "" "PUBLIC;PRIVATE" ${ARGN})
    add_library(${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC Qt5::Widgets ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
    editor2_target_warnings(${name})
endfunction()
