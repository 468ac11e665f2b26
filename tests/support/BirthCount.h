#pragma once

#include "library/BirthLibrary.h"

#include <variant>
#include <vector>

// How many births a library holds: the length of the list a blank search gives, which is every
// birth.
inline std::variant<qint64, LibraryError> CountBirths(BirthLibrary& library) {
    const auto ids = library.Search({});
    if (const auto* error = std::get_if<LibraryError>(&ids)) {
        return *error;
    }
    return static_cast<qint64>(std::get<std::vector<qint64>>(ids).size());
}
