#pragma once

#include <QString>

#include <optional>

// The birth dates a search text names, when it names any: a year ("1990"), a month of a year
// ("1990-08", "August 1990", "Aug 1990") or a day ("1990-08-15"). Each part is a closed range.
struct DateSearch {
    int year = 0;
    int firstMonth = 1; // 1..12
    int lastMonth = 12;
    int firstDay = 1; // 1..31
    int lastDay = 31;
};

// The dates `text` names (blanks around it ignored, month names in English, case ignored); none
// when it is not one of the forms above or names no real date.
std::optional<DateSearch> DateSearchOf(const QString& text);
