# Warning flags applied per target; third-party headers come in as SYSTEM and stay quiet.
function(project_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
        -Wconversion -Wold-style-cast)
    if(WITH_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    # Every target of ours that gets the warnings gets the sanitizer of the build too.
    project_sanitizers(${target})
endfunction()
