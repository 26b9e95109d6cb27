# The program's name and version as every artefact spells them, from the
# one title and project(VERSION): the generated header, the Windows resource
# and manifest, the launcher, the AppStream file, the man page.
set(TARVINO_VERSION ${PROJECT_VERSION})
# Windows' fixed version: four words, comma-separated; its strings keep the
# minor two digits wide and the last part four.
set(TARVINO_VERSION_COMMAS
    "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},${PROJECT_VERSION_TWEAK}")
string(LENGTH "${PROJECT_VERSION_MINOR}" length)
math(EXPR pad "2 - ${length}")
string(REPEAT 0 ${pad} minor)
string(LENGTH "${PROJECT_VERSION_TWEAK}" length)
math(EXPR pad "4 - ${length}")
string(REPEAT 0 ${pad} tweak)
set(TARVINO_VERSION_TEXT
    "${PROJECT_VERSION_MAJOR}.${minor}${PROJECT_VERSION_MINOR}.${tweak}${PROJECT_VERSION_TWEAK}")

set(generated ${PROJECT_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/product.h.in ${generated}/product.h @ONLY)
add_library(tarvino_product INTERFACE)
target_include_directories(tarvino_product INTERFACE ${generated})
