if(CMAKE_SCRIPT_MODE_FILE)
    cmake_minimum_required(VERSION 3.25)
endif()

# The folders' order, from the bottom: each folder may include the folders it names here and
# everything below those, never one above or beside it. Nothing includes app/ or cli/.
#   chart -> astro -> decanates -> charts -> chartview
#   places -> request -> library -> {cli, app}
#   links, ui and promo sit under app: ui may use chartview and links; promo ui and links.
#   precise (the calculation settings and the precise engine) sits on decanates, under app and
#   cli.
set(KORVANI_FOLDER_ORDER
    "chart:"
    "astro:chart"
    "decanates:astro"
    "charts:decanates"
    "chartview:charts"
    "precise:decanates"
    "places:chart"
    "request:places"
    "library:request"
    "links:"
    "ui:chartview,links"
    "promo:ui,links"
    "app:library,promo,ui,links,chartview,precise"
    "cli:library,chartview,precise")

# korvani_check_include_direction(<source dir>)
# Fails when a source of one of the folders above includes a header of a folder that is not
# below it ("folder/File.h" includes only; the standard library, Qt and a folder's own headers
# are not checked).
function(korvani_check_include_direction source_dir)
    set(folders "")
    foreach(entry IN LISTS KORVANI_FOLDER_ORDER)
        string(REPLACE ":" ";" parts "${entry}")
        list(GET parts 0 folder)
        list(LENGTH parts count)
        set(direct "")
        if(count GREATER 1)
            list(GET parts 1 direct)
            string(REPLACE "," ";" direct "${direct}")
        endif()
        # The folders below: those it names and, as each comes earlier in the list, theirs.
        set(below ${direct})
        foreach(lower IN LISTS direct)
            list(APPEND below ${below_${lower}})
        endforeach()
        list(REMOVE_DUPLICATES below)
        set(below_${folder} ${below})
        list(APPEND folders ${folder})
    endforeach()

    set(offenders "")
    set(checked 0)
    foreach(folder IN LISTS folders)
        file(GLOB_RECURSE sources ${source_dir}/${folder}/*.h ${source_dir}/${folder}/*.cpp
             ${source_dir}/${folder}/*.h.in)
        foreach(source IN LISTS sources)
            math(EXPR checked "${checked} + 1")
            file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[A-Za-z_]+/")
            foreach(line IN LISTS includes)
                string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([A-Za-z_]+)/.*" "\\1" used
                       "${line}")
                if(NOT used STREQUAL folder AND NOT used IN_LIST below_${folder})
                    file(RELATIVE_PATH shown ${source_dir} ${source})
                    list(JOIN below_${folder} ", " allowed)
                    list(APPEND offenders "${shown}: ${line} (${folder}/ may use: ${allowed})")
                endif()
            endforeach()
        endforeach()
    endforeach()
    if(offenders)
        list(JOIN offenders "\n  " shown)
        message(FATAL_ERROR "An include points up or across the folders' order:\n  ${shown}")
    endif()
    message(STATUS "${checked} files checked; every include points down the folders' order")
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND SOURCE_DIR)
    korvani_check_include_direction(${SOURCE_DIR})
endif()
