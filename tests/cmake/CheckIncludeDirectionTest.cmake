# The include-direction check over small trees of its own: it must pass a tree whose includes
# point down and fail one where a lower folder includes a higher one. Catches a check that
# passes everything (a broken pattern, a wrong folder list), which the check over the real tree
# cannot show. Run with -DCHECK=<cmake/CheckIncludeDirection.cmake> -DWORK_DIR=<scratch folder>.
cmake_minimum_required(VERSION 3.25)

function(make_tree root)
    file(REMOVE_RECURSE ${root})
    file(WRITE ${root}/chart/ChartInput.h "#pragma once\n#include <optional>\n")
    file(WRITE ${root}/request/ChartRequest.h
         "#pragma once\n#include \"chart/ChartInput.h\"\n#include \"places/Place.h\"\n")
    file(WRITE ${root}/app/frmMain.cpp
         "#include \"app/frmMain.h\"\n#include \"request/ChartRequest.h\"\n#include <QString>\n")
endfunction()

function(run_check root expect_failure why)
    execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${root} -P ${CHECK}
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(expect_failure AND status EQUAL 0)
        message(FATAL_ERROR "${why}: the check passed:\n${out}${err}")
    endif()
    if(NOT expect_failure AND NOT status EQUAL 0)
        message(FATAL_ERROR "${why}: the check failed:\n${out}${err}")
    endif()
    message(STATUS "${why}: as expected")
endfunction()

# One row per tree: its name, the file and include added to it, and whether the check must fail.
set(rows
    "includesPointingDown|chart/Good.h|#include <vector>|0"
    "requestIncludesCli|request/Bad.h|#include \"cli/ChartCommand.h\"|1"
    "chartIncludesApp|chart/Bad.cpp|#include \"app/frmMain.h\"|1"
    "libraryIncludesAcrossIntoUi|library/Bad.cpp|  #  include \"ui/Messages.h\"|1"
    "cliIncludesApp|cli/Bad.cpp|#include \"app/BirthsMenu.h\"|1"
    "uiIncludesChartview|ui/Good.cpp|#include \"chartview/ChartPainter.h\"|0")
foreach(row IN LISTS rows)
    string(REPLACE "|" ";" fields "${row}")
    list(GET fields 0 name)
    list(GET fields 1 file)
    list(GET fields 2 line)
    list(GET fields 3 fails)
    set(root ${WORK_DIR}/${name})
    make_tree(${root})
    file(WRITE ${root}/${file} "${line}\n")
    run_check(${root} ${fails} ${name})
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
