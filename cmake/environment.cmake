# The environment's flags win. CMake puts the build type's flags (-O3 for
# Release) after CMAKE_CXX_FLAGS, where CXXFLAGS went: when those name an
# optimisation level, the build type's is dropped, so that theirs stays last.
set(tarvino_environment_optimisation "")
string(REGEX MATCHALL "(^| )-O[^ ]*" levels "${CMAKE_CXX_FLAGS}")
if(levels)
    list(GET levels -1 tarvino_environment_optimisation)
    string(STRIP "${tarvino_environment_optimisation}" tarvino_environment_optimisation)
    foreach(config DEBUG RELEASE RELWITHDEBINFO MINSIZEREL)
        string(REGEX REPLACE "(^| )-O[^ ]*" "" CMAKE_CXX_FLAGS_${config} "${CMAKE_CXX_FLAGS_${config}}")
    endforeach()
endif()
