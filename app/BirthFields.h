#pragma once

#include "app/CalculationDriver.h"
#include "chart/Validation.h"

#include <QDate>
#include <QString>
#include <QTime>

class FilteredLineEdit;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
struct SavedBirth;

// The input window's birth boxes, by their names on the window.
struct BirthBoxes {
    FilteredLineEdit* txtName = nullptr;
    QComboBox* cboMonth = nullptr;
    QComboBox* cboDate = nullptr;
    QComboBox* cboYear = nullptr;
    QComboBox* cboHH = nullptr;
    QComboBox* cboMM = nullptr;
    FilteredLineEdit* txtLonD = nullptr;
    FilteredLineEdit* txtLonM = nullptr;
    QRadioButton* optLong_0 = nullptr; // East
    QRadioButton* optLong_1 = nullptr; // West
    FilteredLineEdit* txtLatD = nullptr;
    FilteredLineEdit* txtLatM = nullptr;
    QRadioButton* optLat_0 = nullptr; // North
    QRadioButton* optLat_1 = nullptr; // South
    QComboBox* cmbTimeZone = nullptr;
    QCheckBox* chkDST = nullptr;
    QLineEdit* txtMCity = nullptr;
    QLineEdit* txtMState = nullptr;
    QLineEdit* txtMCountry = nullptr;
};

// What the birth boxes hold, read in one pass: texts as typed, list positions (-1 without a
// selection) and list texts, and the options.
struct BirthFields {
    QString name;
    int monthPosition = 0; // 0 = January
    int dayPosition = 0;   // 0 = day 1
    QString dayText;
    QString yearText;
    QString hourText;
    QString minuteText;
    QString longitudeDegrees;
    QString longitudeMinutes;
    bool east = true;
    QString latitudeDegrees;
    QString latitudeMinutes;
    bool south = false;
    int zonePosition = 0;
    QString zoneText; // the zone list's text, exactly
    bool daylightSaving = false;
    QString city;
    QString state;
    QString country;
};

BirthFields ReadBirthFields(const BirthBoxes& boxes);

// The fields as the entry checks, the calculation and the library take them.
BirthDataEntry EntryToValidate(const BirthFields& fields);
DriverControls ControlsToCalculate(const BirthFields& fields);
// Without an IANA zone, note, id or times, which the boxes do not hold.
SavedBirth BirthToSave(const BirthFields& fields);

// The local birth date and time the lists show, to the minute as the chart takes it; the date
// is invalid when the lists name no calendar day.
QDate BirthDateOf(const BirthFields& fields);
QTime BirthTimeOf(const BirthFields& fields);

// Writes a saved birth into the boxes as the user would type it. A list that has no row with the
// birth's value keeps its row.
void WriteBirthFields(const BirthBoxes& boxes, const SavedBirth& birth);
