#include "app/PlaceOwnTimeEntry.h"

#include <QCheckBox>
#include <QComboBox>

PlaceOwnTimeEntry::PlaceOwnTimeEntry(QComboBox* zoneList, QCheckBox* daylightSavingBox,
                                     QObject* parent)
    : QObject(parent), zoneList_(zoneList), daylightSavingBox_(daylightSavingBox) {
    // A row chosen by the user takes the entry away.
    connect(zoneList_, &QComboBox::activated, this, [this](int index) {
        if (index < timeZoneCount) {
            drop();
        }
    });
}

void PlaceOwnTimeEntry::show(const QByteArray& zoneId, QDate birthDate, QTime birthTime) {
    zoneId_ = zoneId;
    if (zoneList_->currentIndex() >= 0 && zoneList_->currentIndex() < timeZoneCount) {
        rowBefore_ = zoneList_->currentIndex();
    }
    if (zoneList_->count() == timeZoneCount) {
        zoneList_->addItem(QString());
    }
    follow(birthDate, birthTime);
    zoneList_->setCurrentIndex(timeZoneCount);
    daylightSavingBox_->setChecked(false);
    daylightSavingBox_->setEnabled(false);
}

void PlaceOwnTimeEntry::drop() {
    if (zoneList_->currentIndex() >= timeZoneCount) {
        zoneList_->setCurrentIndex(rowBefore_);
    }
    zoneId_.clear();
    while (zoneList_->count() > timeZoneCount) {
        zoneList_->removeItem(zoneList_->count() - 1);
    }
    daylightSavingBox_->setEnabled(true);
}

void PlaceOwnTimeEntry::follow(QDate birthDate, QTime birthTime) {
    if (zoneId_.isEmpty() || zoneList_->count() <= timeZoneCount) {
        return;
    }
    const auto zone = ZoneHistory::ForZone(zoneId_);
    zoneList_->setItemText(
        timeZoneCount,
        zone && birthDate.isValid()
            ? PlaceOwnTimeEntryText(zoneId_, zone->ReadLocalTime(birthDate, birthTime))
            : QStringLiteral("Place's own time: %1").arg(QString::fromLatin1(zoneId_)));
}

QByteArray PlaceOwnTimeEntry::chosenZone() const {
    return zoneList_->currentIndex() == timeZoneCount ? zoneId_ : QByteArray();
}

std::optional<PlaceOwnTime> PlaceOwnTimeEntry::read(QDate birthDate, QTime birthTime) const {
    const QByteArray zoneId = chosenZone();
    const auto zone = zoneId.isEmpty() ? nullptr : ZoneHistory::ForZone(zoneId);
    if (!zone || !birthDate.isValid()) {
        return std::nullopt;
    }
    return ReadPlaceOwnTime(*zone, birthDate, birthTime);
}
