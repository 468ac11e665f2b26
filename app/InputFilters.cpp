#include "app/InputFilters.h"

namespace {

constexpr char16_t backspaceCode = 8;
constexpr char16_t enterCode = 13;
constexpr char16_t blankCode = 32;

const char* const onlyLettersMessage = "Please Enter only Letters";
const char* const onlyNumbersMessage = "Only Numbers Are Accepted";

bool IsCapital(char16_t code) {
    return code >= u'A' && code <= u'Z';
}
bool IsSmall(char16_t code) {
    return code >= u'a' && code <= u'z';
}
bool IsDigit(char16_t code) {
    return code >= u'0' && code <= u'9';
}
bool IsLineBreak(char16_t code) {
    return code == u'\r' || code == u'\n';
}

} // namespace

KeystrokeVerdict FilterNameKey(char16_t code) {
    if (IsSmall(code)) {
        return {true, static_cast<char16_t>(code - 32), {}, MessageIcon::Information};
    }
    if (IsCapital(code) || code == blankCode || code == enterCode || code == backspaceCode) {
        return {true, code, {}, MessageIcon::Information};
    }
    return {false, 0, QString::fromLatin1(onlyLettersMessage), MessageIcon::Information};
}

KeystrokeVerdict FilterCoordinateKey(char16_t code) {
    if (IsDigit(code) || code == backspaceCode) {
        return {true, code, {}, MessageIcon::Error};
    }
    return {false, 0, QString::fromLatin1(onlyNumbersMessage), MessageIcon::Error};
}

PasteVerdict FilterNamePaste(const QString& text) {
    // The rule of FilterNameKey, one pass over the text; a paste may be megabytes long.
    PasteVerdict verdict;
    verdict.icon = MessageIcon::Information;
    verdict.text.resize(text.size());
    QChar* kept = verdict.text.data();
    qsizetype length = 0;
    bool refused = false;
    for (const QChar character : text) {
        const char16_t code = character.unicode();
        if (IsLineBreak(code)) {
            continue; // dropped silently, as a typed Enter adds nothing
        }
        if (IsSmall(code)) {
            kept[length++] = QChar(char16_t(code - 32));
        } else if (IsCapital(code) || code == blankCode) {
            kept[length++] = character;
        } else {
            refused = true; // Backspace as well: a pasted one deletes nothing
        }
    }
    verdict.text.truncate(length);
    if (refused) {
        verdict.message = QString::fromLatin1(onlyLettersMessage);
    }
    return verdict;
}

PasteVerdict FilterCoordinatePaste(const QString& text) {
    PasteVerdict verdict;
    verdict.icon = MessageIcon::Error;
    for (QChar character : text) {
        if (!IsDigit(character.unicode())) {
            verdict.message = QString::fromLatin1(onlyNumbersMessage);
            return verdict;
        }
    }
    verdict.text = text;
    return verdict;
}
