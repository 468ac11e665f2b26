#pragma once

#include "chart/Validation.h"

#include <QString>

// The keystroke rules of the input window's text boxes, as plain functions.

// The longest text a place box takes: room for the longest place names in use (the ceremonial
// name of Bangkok has 168 letters). A line edit's own limit of 32,767 makes a huge paste slow:
// it copies the pasted text once for every character it keeps.
constexpr int placeTextMaxLength = 200;

// What becomes of one typed character.
struct KeystrokeVerdict {
    bool accepted = true;   // the character reaches the box
    char16_t character = 0; // the character that reaches the box (a small letter made capital)
    QString message;        // shown when the character is refused
    MessageIcon icon = MessageIcon::Information;
};

// Name box: letters, blank, Enter and Backspace pass; small letters become capitals; anything
// else is refused with "Please Enter only Letters" (information icon).
KeystrokeVerdict FilterNameKey(char16_t code);

// Coordinate boxes: digits and Backspace pass; anything else, Enter included, is refused with
// "Only Numbers Are Accepted" (error icon).
KeystrokeVerdict FilterCoordinateKey(char16_t code);

// What becomes of a pasted or dropped text.
struct PasteVerdict {
    QString text;    // what goes into the box; empty when nothing does
    QString message; // shown once when something was refused; empty otherwise
    MessageIcon icon = MessageIcon::Information;
};

// Name box: the text in capitals, refused characters left out; line breaks drop silently (a
// typed Enter adds nothing either).
PasteVerdict FilterNamePaste(const QString& text);

// Coordinate boxes: a text of digits only goes in whole; anything else is refused whole.
PasteVerdict FilterCoordinatePaste(const QString& text);
