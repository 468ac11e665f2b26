#include "library/SavedBirth.h"

#include "chart/InputTexts.h"
#include "chart/Validation.h"

#include <algorithm>

namespace {

struct LetterSpelling {
    char16_t letter;
    const char* spelling;
};
// Latin letters that Unicode's decomposition leaves whole, spelt in the letters A to Z as the
// Unicode CLDR transform Latin-ASCII spells them.
constexpr LetterSpelling undecomposedLetters[] = {
    {u'\u00DF', "SS"}, {u'\u1E9E', "SS"}, // ß ẞ
    {u'\u00C6', "AE"}, {u'\u00E6', "AE"}, // Æ æ
    {u'\u0152', "OE"}, {u'\u0153', "OE"}, // Œ œ
    {u'\u00D8', "O"},  {u'\u00F8', "O"},  // Ø ø
    {u'\u0141', "L"},  {u'\u0142', "L"},  // Ł ł
    {u'\u0110', "D"},  {u'\u0111', "D"},  // Đ đ
    {u'\u00D0', "D"},  {u'\u00F0', "D"},  // Ð ð
    {u'\u00DE', "TH"}, {u'\u00FE', "TH"}, // Þ þ
    {u'\u0126', "H"},  {u'\u0127', "H"},  // Ħ ħ
    {u'\u0131', "I"},                     // ı
};

// Apostrophes and hyphens, which a name in capitals writes as a blank.
bool IsApostropheOrHyphen(char16_t code) {
    switch (code) {
    case u'\'':
    case u'`':
    case u'\u2018': // ‘
    case u'\u2019': // ’
    case u'\u02BC': // ʼ
    case u'-':
    case u'\u2010': // ‐ (U+2011, the non-breaking hyphen, decomposes to it)
    case u'\u2012': // ‒
    case u'\u2013': // –
    case u'\u2014': // —
        return true;
    default:
        return false;
    }
}

bool IsNameBoxLetterOrBlank(QChar character) {
    const char16_t code = character.unicode();
    return (code >= u'A' && code <= u'Z') || (code >= u'a' && code <= u'z') || code == u' ';
}

} // namespace

std::optional<QString> NameFault(const QString& name) {
    BirthDataEntry entry;
    entry.name = name.toStdString();
    entry.longitudeDegrees = entry.longitudeMinutes = "0";
    entry.latitudeDegrees = entry.latitudeMinutes = "0";
    if (const auto fault = ValidateBirthData(entry); fault && fault->focus == FocusTarget::Name) {
        return QString::fromStdString(fault->message);
    }
    if (!std::all_of(name.begin(), name.end(), IsNameBoxLetterOrBlank)) {
        return QStringLiteral("Please Enter only Letters");
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

QString NameInCapitals(const QString& name) {
    if (std::all_of(name.begin(), name.end(), IsNameBoxLetterOrBlank)) {
        return NameAsHeld(name);
    }
    const QString decomposed = name.normalized(QString::NormalizationForm_KD);
    QString written;
    written.reserve(decomposed.size());
    for (const QChar character : decomposed) {
        const char16_t code = character.unicode();
        if (character.isMark()) {
            continue;
        }
        if (IsApostropheOrHyphen(code)) {
            written += u' ';
            continue;
        }
        const auto spelt =
            std::find_if(std::begin(undecomposedLetters), std::end(undecomposedLetters),
                         [code](const LetterSpelling& letter) { return letter.letter == code; });
        if (spelt != std::end(undecomposedLetters)) {
            written += QLatin1StringView(spelt->spelling);
        } else {
            written += character;
        }
    }
    return NameAsHeld(written.simplified());
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
