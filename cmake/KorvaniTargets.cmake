# Helpers shared by the folder CMakeLists.

# korvani_core_library(<name> DEPENDS <targets...>)
# A calculation-core library built from every .cpp/.h in the current folder. It may use the
# standard library only; configuration fails when a source includes a Qt header or the library
# links a Qt target, and the korvani_core_uses_standard_library_only test repeats the check.
function(korvani_core_library name)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    foreach(source IN LISTS sources)
        file(STRINGS ${source} qt_includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q")
        if(qt_includes)
            message(FATAL_ERROR "${source} includes a Qt header; the calculation core uses the standard library only")
        endif()
    endforeach()
    add_library(${name} STATIC ${sources})
    set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    foreach(dependency IN LISTS ARG_DEPENDS)
        if(dependency MATCHES "Qt")
            message(FATAL_ERROR "${name} links ${dependency}; the calculation core uses the standard library only")
        endif()
    endforeach()
endfunction()

# korvani_qt_library(<name> [EXCLUDE <files...>] DEPENDS <targets...>)
# A user-interface library built from every .cpp/.h in the current folder, with AUTOMOC.
function(korvani_qt_library name)
    cmake_parse_arguments(ARG "" "" "DEPENDS;EXCLUDE" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    foreach(excluded IN LISTS ARG_EXCLUDE)
        list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
    endforeach()
    add_library(${name} STATIC ${sources})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()

# korvani_test(<name> LABEL <core|gui> DEPENDS <targets...>)
# One GoogleTest executable from every .cpp in the current folder, registered with CTest.
# Every test runs with QT_QPA_PLATFORM=offscreen.
function(korvani_test name)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    korvani_add_test_executable(${name} "${sources}" ${ARGN})
endfunction()

function(korvani_add_test_executable name sources)
    cmake_parse_arguments(ARG "" "LABEL" "DEPENDS" ${ARGN})
    add_executable(${name} ${sources})
    if(NOT ARG_LABEL STREQUAL "gui")
        set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
    endif()
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gmock)
    if(ARG_LABEL STREQUAL "core")
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    else()
        target_link_libraries(${name} PRIVATE korvani_gui_test_main)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS ${ARG_LABEL}
                   ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# korvani_test_each(<prefix> LABEL <core|gui> DEPENDS <targets...>)
# One test executable per *Test.cpp in the current folder (named <prefix>_<file>), so that each
# widget test starts with a fresh application and its own windows.
function(korvani_test_each prefix)
    file(GLOB test_files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
    foreach(test_file IN LISTS test_files)
        get_filename_component(stem ${test_file} NAME_WE)
        korvani_add_test_executable(${prefix}_${stem} ${test_file} ${ARGN})
    endforeach()
endfunction()
