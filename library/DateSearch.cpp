#include "library/DateSearch.h"

#include <QDate>
#include <QRegularExpression>

namespace {

// 1..12 for an English month's name or its first three letters, case ignored; 0 otherwise.
int MonthOfName(const QString& name) {
    static const char* const months[] = {"january",   "february", "march",    "april",
                                         "may",       "june",     "july",     "august",
                                         "september", "october",  "november", "december"};
    const QString folded = name.toLower();
    for (int month = 1; month <= 12; ++month) {
        const QString full = QString::fromLatin1(months[month - 1]);
        if (folded == full || folded == full.left(3)) {
            return month;
        }
    }
    return 0;
}

} // namespace

std::optional<DateSearch> DateSearchOf(const QString& text) {
    static const QRegularExpression numeric(
        QStringLiteral("^(\\d{4})(?:-(\\d{1,2})(?:-(\\d{1,2}))?)?$"));
    static const QRegularExpression named(QStringLiteral("^([A-Za-z]+)\\s+(\\d{4})$"));
    const QString trimmed = text.trimmed();
    DateSearch dates;
    if (const QRegularExpressionMatch match = named.match(trimmed); match.hasMatch()) {
        const int month = MonthOfName(match.captured(1));
        if (month == 0) {
            return std::nullopt;
        }
        dates.year = match.captured(2).toInt();
        dates.firstMonth = dates.lastMonth = month;
        return dates;
    }
    const QRegularExpressionMatch match = numeric.match(trimmed);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    dates.year = match.captured(1).toInt();
    if (match.hasCaptured(2)) {
        const int month = match.captured(2).toInt();
        if (month < 1 || month > 12) {
            return std::nullopt;
        }
        dates.firstMonth = dates.lastMonth = month;
    }
    if (match.hasCaptured(3)) {
        const int day = match.captured(3).toInt();
        if (!QDate(dates.year, dates.firstMonth, day).isValid()) {
            return std::nullopt;
        }
        dates.firstDay = dates.lastDay = day;
    }
    return dates;
}
