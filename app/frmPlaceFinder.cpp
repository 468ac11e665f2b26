#include "app/frmPlaceFinder.h"

#include "app/CalculationDriver.h"
#include "app/ScreenReaderNames.h"
#include "chart/Validation.h"
#include "links/modHelp.h"
#include "places/BirthTime.h"
#include "ui/AccessibleNames.h"
#include "ui/Appearance.h"
#include "ui/DisplayFonts.h"
#include "ui/Keyboard.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

// How many matches the finder lists at most.
constexpr int finderRowLimit = 50;

frmPlaceFinder::frmPlaceFinder(std::shared_ptr<const PlaceSource> source, QWidget* parent)
    : QWidget(parent, Qt::Window), source_(std::move(source)) {
    setObjectName(QStringLiteral("frmPlaceFinder"));
    setWindowTitle(programTitle);
    auto* layout = new QVBoxLayout(this);

    lblFinderNote = new QLabel(this);
    lblFinderNote->setObjectName(QStringLiteral("lblFinderNote"));
    lblFinderNote->setTextFormat(Qt::PlainText);
    lblFinderNote->setWordWrap(true);
    lblFinderNote->setFont(LabelFont(9));
    layout->addWidget(lblFinderNote);

    lstPlaces = new QTreeWidget(this);
    lstPlaces->setObjectName(QStringLiteral("lstPlaces"));
    lstPlaces->setRootIsDecorated(false);
    lstPlaces->setUniformRowHeights(true);
    lstPlaces->setAlternatingRowColors(true);
    lstPlaces->setHeaderLabels(FinderColumnCaptions());
    lstPlaces->setFont(LabelFont(9));
    layout->addWidget(lstPlaces, 1);
    connect(lstPlaces, &QTreeWidget::itemDoubleClicked, this, &frmPlaceFinder::cmdUsePlace_Click);
    connect(lstPlaces, &QTreeWidget::currentItemChanged, this,
            [this] { cmdUsePlace->setEnabled(lstPlaces->currentItem() != nullptr); });

    auto* buttons = new QHBoxLayout;
    cmdUsePlace = new QPushButton(QStringLiteral("&Use This Place"), this);
    cmdUsePlace->setObjectName(QStringLiteral("cmdUsePlace"));
    cmdUsePlace->setFont(LabelFont(9, true));
    cmdUsePlace->setEnabled(false);
    connect(cmdUsePlace, &QPushButton::clicked, this, &frmPlaceFinder::cmdUsePlace_Click);
    cmdSearchWeb = new QPushButton(QStringLiteral("&Search The Web"), this);
    cmdSearchWeb->setObjectName(QStringLiteral("cmdSearchWeb"));
    cmdSearchWeb->setFont(LabelFont(9));
    connect(cmdSearchWeb, &QPushButton::clicked, this, &frmPlaceFinder::cmdSearchWeb_Click);
    buttons->addStretch();
    buttons->addWidget(cmdUsePlace);
    buttons->addWidget(cmdSearchWeb);
    layout->addLayout(buttons);

    QWidget::setTabOrder(lstPlaces, cmdUsePlace);
    QWidget::setTabOrder(cmdUsePlace, cmdSearchWeb);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    PressFocusedButtonOnEnter(this);
    ApplyAccessibleNames(*this, ScreenReaderNamesOfPlaceFinderWindow());
    resize(960, 360);
}

void frmPlaceFinder::showLookup(const PlaceLookup& lookup) {
    lookup_ = lookup;
    if (index_) {
        fillRows();
        return;
    }
    if (!loading_) {
        loading_ = new QFutureWatcher<std::shared_ptr<const PlaceIndex>>(this);
        connect(loading_, &QFutureWatcherBase::finished, this, &frmPlaceFinder::indexLoaded);
        // The source stays alive in the worker even if the window goes first.
        loading_->setFuture(QtConcurrent::run([source = source_] {
            return source ? LoadPlaceIndex(*source)
                          : std::make_shared<const PlaceIndex>(QList<Place>{});
        }));
    }
    updateNote();
}

void frmPlaceFinder::setBirthMoment(QDate birthDate, QTime birthTime) {
    lookup_.birthDate = birthDate;
    lookup_.birthTime = birthTime;
    if (index_) {
        fillRows();
    }
}

void frmPlaceFinder::indexLoaded() {
    index_ = loading_->result();
    loading_->deleteLater();
    loading_ = nullptr;
    fillRows();
    // Then every other zone's history, in the background, so that later searches wait for none.
    zonesRead_ = QtConcurrent::run([index = index_] {
        QSet<QByteArray> zones;
        for (const Place& place : index->places()) {
            if (!zones.contains(place.zoneId)) {
                zones.insert(place.zoneId);
                ZoneHistory::ForZone(place.zoneId);
            }
        }
    });
}

frmPlaceFinder::~frmPlaceFinder() {
    zonesRead_.waitForFinished(); // the zone cache outlives no reader
}

void frmPlaceFinder::fillRows() {
    const int previousRow =
        lstPlaces->currentItem() ? lstPlaces->indexOfTopLevelItem(lstPlaces->currentItem()) : 0;
    lstPlaces->clear();
    choices_.clear();
    inexactRows_ = 0;
    for (const PlaceMatch& match : index_->Find(lookup_.place, finderRowLimit)) {
        const FinderRow row =
            MakeFinderRow(index_->place(match), lookup_.birthDate, lookup_.birthTime);
        auto* item = new QTreeWidgetItem(lstPlaces, row.columns);
        item->setToolTip(static_cast<int>(FinderColumn::Note),
                         row.columns[static_cast<int>(FinderColumn::Note)]);
        choices_.push_back(row.choice);
        inexactRows_ += row.choice.zoneKnown && !row.exact ? 1 : 0;
    }
    for (int column = 0; column < lstPlaces->columnCount() - 1; ++column) {
        lstPlaces->resizeColumnToContents(column);
    }
    if (lstPlaces->topLevelItemCount() > 0) {
        lstPlaces->setCurrentItem(lstPlaces->topLevelItem(
            previousRow >= 0 && previousRow < lstPlaces->topLevelItemCount() ? previousRow : 0));
    }
    cmdUsePlace->setEnabled(lstPlaces->currentItem() != nullptr);
    (lstPlaces->topLevelItemCount() > 0 ? static_cast<QWidget*>(lstPlaces) : cmdSearchWeb)
        ->setFocus(Qt::OtherFocusReason);
    updateNote();
}

void frmPlaceFinder::updateNote() {
    if (!index_) {
        lblFinderNote->setText(QStringLiteral("Reading the place list…"));
        return;
    }
    if (choices_.isEmpty()) {
        lblFinderNote->setText(
            QStringLiteral("No place called \"%1\" was found in the place list. Search The Web "
                           "looks for it on the web.")
                .arg(lookup_.place.city));
        return;
    }
    QString note = FinderMomentNote(lookup_.birthDate, lookup_.birthTime);
    if (inexactRows_ > 0) {
        note += inexactRows_ == 1
                    ? QStringLiteral(" For one place no row of the zone list gives the offset "
                                     "exactly; its Note names the nearest row.")
                    : QStringLiteral(" For %1 places no row of the zone list gives the offset "
                                     "exactly; their Note names the nearest row.")
                          .arg(inexactRows_);
    }
    lblFinderNote->setText(note);
}

void frmPlaceFinder::cmdUsePlace_Click() {
    QTreeWidgetItem* item = lstPlaces->currentItem();
    const int row = item ? lstPlaces->indexOfTopLevelItem(item) : -1;
    if (row >= 0 && row < choices_.size()) {
        emit placeChosen(choices_[row]);
    }
}

void frmPlaceFinder::cmdSearchWeb_Click() {
    RunGuardedStep([&] { OpenAddress(WebSearchUrl(lookup_.searchText)); });
}
