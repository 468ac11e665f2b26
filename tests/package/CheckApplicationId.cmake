# The application ID and organization domain derived from a table of maker sites.
# With -DSITE=<address>, derives from that one address only (a test expects it to be refused).
include(${SOURCE_DIR}/cmake/KorvaniApplicationId.cmake)

if(DEFINED SITE)
    korvani_application_id("${SITE}" id domain)
    message(STATUS "${SITE} gives ${id}")
    return()
endif()

# site | application ID | organization domain
set(rows
    "https://www.qorvex.example|example.qorvex.Korvani|qorvex.example"
    "http://qorvex.example/|example.qorvex.Korvani|qorvex.example"
    "HTTPS://WWW.Qorvex.Example:8443/path?page=1|example.qorvex.Korvani|qorvex.example"
    "https://www.example.com.|com.example.Korvani|example.com"
    "https://astro-tools.co.uk|uk.co.astro_tools.Korvani|astro-tools.co.uk"
    "https://wwwx.example.org|org.example.wwwx.Korvani|wwwx.example.org"
    "https://web.www.example|example.www.web.Korvani|web.www.example"
    "https://7seas.example|example._7seas.Korvani|7seas.example"
    "qorvex.example|example.qorvex.Korvani|qorvex.example")
set(faults "")
foreach(row IN LISTS rows)
    string(REPLACE "|" ";" fields "${row}")
    list(GET fields 0 site)
    list(GET fields 1 expected_id)
    list(GET fields 2 expected_domain)
    korvani_application_id("${site}" id domain)
    if(NOT id STREQUAL expected_id OR NOT domain STREQUAL expected_domain)
        string(APPEND faults "\n  ${site}: got ${id} and ${domain}, expected ${expected_id} and ${expected_domain}")
    endif()
endforeach()
if(faults)
    message(FATAL_ERROR "Application IDs derived wrongly:${faults}")
endif()
list(LENGTH rows count)
message(STATUS "${count} maker sites give their application IDs")
