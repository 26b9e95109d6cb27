# Applied to every target of the project through tarvino_warnings.
add_library(tarvino_warnings INTERFACE)
target_compile_options(tarvino_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion
    $<$<BOOL:${TARVINO_WERROR}>:-Werror>)

if(TARVINO_SANITIZE)
    target_compile_options(tarvino_warnings INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(tarvino_warnings INTERFACE -fsanitize=address,undefined)
endif()
