# Python runs the build's icon scripts and the tests' checkers and readers.
# It is the PATH's, except that a build with tests passes over one that
# cannot import the system's modules those tests need (a Python of one's own
# ahead of Debian's has none of them), as it would over one that is missing.
set(TARVINO_PYTHON_MODULES)
if(BUILD_TESTING AND WIN32)
    set(TARVINO_PYTHON_MODULES pefile)
elseif(BUILD_TESTING AND NOT TARVINO_FUZZ)
    set(TARVINO_PYTHON_MODULES gi pyatspi Xlib)
endif()

function(tarvino_python_imports result candidate)
    foreach(module ${TARVINO_PYTHON_MODULES})
        execute_process(COMMAND ${candidate} -c "import ${module}" RESULT_VARIABLE status
            OUTPUT_QUIET ERROR_QUIET)
        if(NOT status EQUAL 0)
            set(${result} FALSE PARENT_SCOPE)
            return()
        endif()
    endforeach()
endfunction()

if(NOT DEFINED Python3_EXECUTABLE)
    find_program(tarvino_python NAMES python3 VALIDATOR tarvino_python_imports)
    if(NOT tarvino_python)
        string(REPLACE ";" ", " modules "${TARVINO_PYTHON_MODULES}")
        message(FATAL_ERROR "No python3 on the PATH imports ${modules}: "
            "scripts/deps.sh test installs them, or set Python3_EXECUTABLE")
    endif()
    set(Python3_EXECUTABLE ${tarvino_python} CACHE FILEPATH "The Python of the build and its tests")
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)
