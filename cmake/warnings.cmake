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

if(TARVINO_COVERAGE)
    target_compile_options(tarvino_warnings INTERFACE --coverage)
    # A process that ends with _Exit writes its counts first.
    target_compile_definitions(tarvino_warnings INTERFACE TARVINO_COVERAGE)
    target_link_options(tarvino_warnings INTERFACE --coverage)
    # Line coverage of each directory of Linux code, from what the tests ran.
    set(covered summary ticker app platform/linux platform/qt)
    add_custom_target(coverage_report
        COMMAND bash -c "for dir in $\{@}; do printf '%-16s ' $dir; gcovr -r '${PROJECT_SOURCE_DIR}' '${CMAKE_BINARY_DIR}' --filter '${PROJECT_SOURCE_DIR}/'$dir/ --exclude '.*_fuzz.cpp' --print-summary 2> >(grep -v '^(INFO)' >&2) | sed -n 's/^lines: //p'; done" bash ${covered}
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
        VERBATIM)
endif()
