#include "library/SavedBirth.h"

#include "chart/InputTexts.h"
#include "chart/Validation.h"

std::optional<QString> NameFault(const QString& name) {
    BirthDataEntry entry;
    entry.name = name.toStdString();
    entry.longitudeDegrees = entry.longitudeMinutes = "0";
    entry.latitudeDegrees = entry.latitudeMinutes = "0";
    if (const auto fault = ValidateBirthData(entry); fault && fault->focus == FocusTarget::Name) {
        return QString::fromStdString(fault->message);
    }
    for (const QChar character : name) {
        const char16_t code = character.unicode();
        if (!((code >= u'A' && code <= u'Z') || (code >= u'a' && code <= u'z') || code == u' ')) {
            return QStringLiteral("Please Enter only Letters");
        }
    }
    return std::nullopt;
}

QString NoteWithinLimit(const QString& note) {
    if (note.size() <= maxNoteLength) {
        return note;
    }
    const bool split = note[maxNoteLength - 1].isHighSurrogate();
    return note.first(split ? maxNoteLength - 1 : maxNoteLength);
}

QString BirthKey(const QString& name, int year, int month, int day) {
    return NameKey(name) + u'\n' + QString::fromStdString(DateText(year, month, day));
}

QString BirthDateText(const SavedBirth& birth) {
    return QString::fromStdString(DateText(birth.year, birth.month, birth.day));
}

QString BirthTimeText(const SavedBirth& birth) {
    return QString::fromStdString(TimeText(birth.hour, birth.minute));
}

QString BirthLongitudeText(const SavedBirth& birth) {
    return QString::fromStdString(LongitudeText(birth.longitudeDegrees.trimmed().toStdString(),
                                                birth.longitudeMinutes.trimmed().toStdString(),
                                                birth.east));
}

QString BirthLatitudeText(const SavedBirth& birth) {
    return QString::fromStdString(LatitudeText(birth.latitudeDegrees.trimmed().toStdString(),
                                               birth.latitudeMinutes.trimmed().toStdString(),
                                               birth.south));
}

QString NameAsHeld(const QString& name) {
    QString held = name;
    for (QChar& character : held) {
        if (character >= u'a' && character <= u'z') {
            character = QChar(char16_t(character.unicode() - 32));
        }
    }
    return held;
}

QString SearchFolded(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar character : decomposed) {
        if (!character.isMark()) {
            folded += character;
        }
    }
    return folded.toCaseFolded();
}

QString NameKey(const QString& name) {
    return name.toCaseFolded();
}

QString SearchKey(const SavedBirth& birth) {
    return SearchFolded(birth.name + u'\n' + birth.city + u'\n' + birth.state + u'\n' +
                        birth.country);
}

// The place as the list sorts it: city, state and country folded as a search folds them, each
// ended by U+0001, which sorts below every character a place holds. "Bern" with no state thus
// comes before "Bern, Bern", and a shorter city before a longer one that starts with it.
QString PlaceKey(const SavedBirth& birth) {
    QString key;
    for (const QString* part : {&birth.city, &birth.state, &birth.country}) {
        key += SearchFolded(part->trimmed());
        key += QChar(u'\x01');
    }
    return key;
}
