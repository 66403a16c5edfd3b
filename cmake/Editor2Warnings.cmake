# editor2_target_warnings(<target>): the project's warning flags, for our own targets only.
function(editor2_target_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(EDITOR2_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
