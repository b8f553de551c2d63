# Sanitizer and fuzzer instrumentation, applied per target by project_sanitizers(target) (called
# from project_warnings), so that the tree's own targets and nothing else are instrumented.
if(WITH_SANITIZERS AND WITH_TSAN)
    message(FATAL_ERROR "WITH_SANITIZERS and WITH_TSAN cannot be combined")
endif()
if(WITH_FUZZ AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "WITH_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
endif()

function(project_sanitizers target)
    if(WITH_SANITIZERS)
        target_compile_options(${target} PRIVATE
            -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
        # g++ 12's instrumentation makes -Wmaybe-uninitialized misfire inside <regex> and
        # <functional>.
        if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
            target_compile_options(${target} PRIVATE -Wno-maybe-uninitialized)
        endif()
    endif()
    if(WITH_TSAN)
        target_compile_options(${target} PRIVATE -fsanitize=thread -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=thread)
    endif()
    if(WITH_FUZZ)
        target_compile_options(${target} PRIVATE
            -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()
