#include "app/BirthFields.h"

#include "app/FilteredLineEdit.h"
#include "library/SavedBirth.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

BirthFields ReadBirthFields(const BirthBoxes& boxes) {
    BirthFields fields;
    fields.name = boxes.txtName->text();
    fields.monthPosition = boxes.cboMonth->currentIndex();
    fields.dayPosition = boxes.cboDate->currentIndex();
    fields.dayText = boxes.cboDate->currentText();
    fields.yearText = boxes.cboYear->currentText();
    fields.hourText = boxes.cboHH->currentText();
    fields.minuteText = boxes.cboMM->currentText();
    fields.longitudeDegrees = boxes.txtLonD->text();
    fields.longitudeMinutes = boxes.txtLonM->text();
    fields.east = boxes.optLong_0->isChecked();
    fields.latitudeDegrees = boxes.txtLatD->text();
    fields.latitudeMinutes = boxes.txtLatM->text();
    fields.south = boxes.optLat_1->isChecked();
    fields.zonePosition = boxes.cmbTimeZone->currentIndex();
    fields.zoneText = boxes.cmbTimeZone->currentText();
    fields.daylightSaving = boxes.chkDST->checkState() != Qt::Unchecked;
    fields.city = boxes.txtMCity->text();
    fields.state = boxes.txtMState->text();
    fields.country = boxes.txtMCountry->text();
    return fields;
}

BirthDataEntry EntryToValidate(const BirthFields& fields) {
    BirthDataEntry entry;
    entry.name = fields.name.toStdString();
    entry.longitudeDegrees = fields.longitudeDegrees.toStdString();
    entry.longitudeMinutes = fields.longitudeMinutes.toStdString();
    entry.latitudeDegrees = fields.latitudeDegrees.toStdString();
    entry.latitudeMinutes = fields.latitudeMinutes.toStdString();
    entry.monthPosition = fields.monthPosition;
    entry.dayPosition = fields.dayPosition;
    entry.year = fields.yearText.toInt();
    return entry;
}

DriverControls ControlsToCalculate(const BirthFields& fields) {
    DriverControls controls;
    controls.monthPosition = fields.monthPosition;
    controls.dayText = fields.dayText;
    controls.yearText = fields.yearText;
    controls.hourText = fields.hourText;
    controls.minuteText = fields.minuteText;
    controls.longitudeDegreesText = fields.longitudeDegrees;
    controls.longitudeMinutesText = fields.longitudeMinutes;
    controls.latitudeDegreesText = fields.latitudeDegrees;
    controls.latitudeMinutesText = fields.latitudeMinutes;
    controls.east = fields.east;
    controls.south = fields.south;
    controls.daylightSaving = fields.daylightSaving;
    controls.timeZonePosition = fields.zonePosition;
    return controls;
}

SavedBirth BirthToSave(const BirthFields& fields) {
    SavedBirth birth;
    birth.name = NameAsHeld(fields.name);
    birth.year = fields.yearText.toInt();
    birth.month = fields.monthPosition + 1;
    birth.day = fields.dayText.toInt();
    birth.hour = fields.hourText.toInt();
    birth.minute = fields.minuteText.toInt();
    birth.longitudeDegrees = fields.longitudeDegrees;
    birth.longitudeMinutes = fields.longitudeMinutes;
    birth.east = fields.east;
    birth.latitudeDegrees = fields.latitudeDegrees;
    birth.latitudeMinutes = fields.latitudeMinutes;
    birth.south = fields.south;
    birth.zoneRow = fields.zoneText;
    birth.daylightSaving = fields.daylightSaving;
    birth.city = fields.city;
    birth.state = fields.state;
    birth.country = fields.country;
    return birth;
}

QDate BirthDateOf(const BirthFields& fields) {
    return {fields.yearText.toInt(), fields.monthPosition + 1, fields.dayText.toInt()};
}

QTime BirthTimeOf(const BirthFields& fields) {
    return {fields.hourText.toInt(), fields.minuteText.toInt()};
}

void WriteBirthFields(const BirthBoxes& boxes, const SavedBirth& birth) {
    const auto pick = [](QComboBox* list, const QString& text) {
        const int row = list->findText(text);
        if (row >= 0) {
            list->setCurrentIndex(row);
        }
    };
    boxes.txtName->setText(birth.name);
    boxes.cboMonth->setCurrentIndex(birth.month - 1);
    pick(boxes.cboDate, QString::number(birth.day));
    pick(boxes.cboYear, QString::number(birth.year));
    pick(boxes.cboHH, QString::number(birth.hour));
    pick(boxes.cboMM, QString::number(birth.minute));
    boxes.txtLonD->setText(birth.longitudeDegrees);
    boxes.txtLonM->setText(birth.longitudeMinutes);
    (birth.east ? boxes.optLong_0 : boxes.optLong_1)->setChecked(true);
    boxes.txtLatD->setText(birth.latitudeDegrees);
    boxes.txtLatM->setText(birth.latitudeMinutes);
    (birth.south ? boxes.optLat_1 : boxes.optLat_0)->setChecked(true);
    pick(boxes.cmbTimeZone, birth.zoneRow);
    boxes.chkDST->setChecked(birth.daylightSaving);
    boxes.txtMCity->setText(birth.city);
    boxes.txtMState->setText(birth.state);
    boxes.txtMCountry->setText(birth.country);
}
