# Warning flags applied per target; third-party headers come in as SYSTEM and stay quiet.
function(project_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual)
    if(WITH_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
