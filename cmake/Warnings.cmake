# Warnings for every target of the project; GCC builds treat them as errors so the tree stays clean.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
                    -Wcast-align -Wnull-dereference -Wformat=2)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND TAVO_WERROR)
    add_compile_options(-Werror)
endif()
