# editor2_logic_library(<name> <sources...> [LINK <targets...>] [FOLDER <dir>]):
# the plain rules beside a dialog as a static library on Qt Core alone, so that
# a stray widget include fails to compile. Sources and public headers are in
# FOLDER, by default the calling folder. The fuzz project builds the same
# libraries with the compile options in EDITOR2_LOGIC_OPTIONS.
function(editor2_logic_library name)
    cmake_parse_arguments(ARG "" "FOLDER" "LINK" ${ARGN})
    if(NOT ARG_FOLDER)
        set(ARG_FOLDER ${CMAKE_CURRENT_SOURCE_DIR})
    endif()
    list(TRANSFORM ARG_UNPARSED_ARGUMENTS PREPEND ${ARG_FOLDER}/)
    add_library(${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
    target_include_directories(${name} PUBLIC ${ARG_FOLDER})
    target_link_libraries(${name} PUBLIC Qt5::Core PRIVATE ${ARG_LINK})
    target_compile_options(${name} PRIVATE ${EDITOR2_LOGIC_OPTIONS})
    editor2_target_warnings(${name})
endfunction()
