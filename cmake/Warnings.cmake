# Warning flags applied per target; third-party headers come in as SYSTEM and stay quiet.
function(project_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
        -Wconversion -Wold-style-cast)
    # clang's -Wconversion also takes in sign conversions, which g++'s leaves out for C++: both
    # compilers check the same, as g++ does.
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        target_compile_options(${target} PRIVATE -Wno-sign-conversion)
    endif()
    if(WITH_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    # Every target of ours that gets the warnings gets the sanitizer of the build too.
    project_sanitizers(${target})
endfunction()
