# Warnings for every target of the project. ./dev and CI turn TAVO_WERROR on so the tree stays
# clean; a plain build (a packager's, another compiler version) only reports them.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
                    -Wcast-align -Wnull-dereference -Wformat=2)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND TAVO_WERROR)
    add_compile_options(-Werror)
endif()
