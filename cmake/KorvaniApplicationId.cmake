# korvani_application_id(<site> <out_id> <out_domain>)
# The reverse-DNS application ID for desktop entry, metainfo and icon names, and the organization
# domain, both from the maker's site address: the scheme, any port or path and a leading "www."
# are dropped, the host's labels are reversed and "Korvani" is appended
# ("https://www.qorvex.example" gives "example.qorvex.Korvani" and "qorvex.example").
# A hyphen is not allowed in a D-Bus name component, so it becomes an underscore in the ID.
function(korvani_application_id site out_id out_domain)
    string(TOLOWER "${site}" host)
    string(REGEX REPLACE "^[a-z][a-z0-9+.-]*://" "" host "${host}")
    string(REGEX REPLACE "[:/?#].*$" "" host "${host}")
    string(REGEX REPLACE "^www\\." "" host "${host}")
    string(REGEX REPLACE "\\.$" "" host "${host}")
    if(NOT host MATCHES "^[a-z0-9-]+(\\.[a-z0-9-]+)+$")
        message(FATAL_ERROR "The maker's site \"${site}\" has no host with at least two labels "
                            "to build the application ID from")
    endif()
    string(REPLACE "." ";" labels "${host}")
    list(REVERSE labels)
    set(id "")
    foreach(label IN LISTS labels)
        string(REPLACE "-" "_" label "${label}")
        # A component may not start with a digit.
        if(label MATCHES "^[0-9]")
            set(label "_${label}")
        endif()
        string(APPEND id "${label}.")
    endforeach()
    set(${out_id} "${id}Korvani" PARENT_SCOPE)
    set(${out_domain} "${host}" PARENT_SCOPE)
endfunction()
