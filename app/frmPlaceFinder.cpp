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

// The size the finder asks for; the owner makes it smaller on a small screen.
constexpr int finderWidth = 860;
constexpr int finderHeight = 460;
// The widest a column grows before its lines are cut short; the two-line cells keep each
// column narrow enough for all four to fit the opening width.
constexpr int widestColumn = 300;

frmPlaceFinder::frmPlaceFinder(std::shared_ptr<const PlaceSource> source, QWidget* parent)
    : QWidget(parent, Qt::Window), source_(std::move(source)) {
    setObjectName(QStringLiteral("frmPlaceFinder"));
    setWindowTitle(QStringLiteral("Find Place — Korvani"));
    auto* layout = new QVBoxLayout(this);

    lstPlaces = new QTreeWidget(this);
    lstPlaces->setObjectName(QStringLiteral("lstPlaces"));
    lstPlaces->setRootIsDecorated(false);
    lstPlaces->setAlternatingRowColors(true);
    lstPlaces->setHeaderLabels(FinderColumnCaptions());
    lstPlaces->setFont(LabelFont(9));
    lstPlaces->setTextElideMode(Qt::ElideRight);
    lstPlaces->header()->setStretchLastSection(true);
    layout->addWidget(lstPlaces, 1);
    connect(lstPlaces, &QTreeWidget::itemDoubleClicked, this, &frmPlaceFinder::cmdUsePlace_Click);
    connect(lstPlaces, &QTreeWidget::currentItemChanged, this, [this] {
        cmdUsePlace->setEnabled(lstPlaces->currentItem() != nullptr);
        updateNote();
    });
    // Return or Enter on the list is Use This Place.
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* use = new QShortcut(QKeySequence(key), lstPlaces);
        use->setContext(Qt::WidgetShortcut);
        connect(use, &QShortcut::activated, this, &frmPlaceFinder::cmdUsePlace_Click);
    }

    // The note below the list: the birth moment, and the whole note of the selected row.
    lblFinderNote = new QLabel(this);
    lblFinderNote->setObjectName(QStringLiteral("lblFinderNote"));
    lblFinderNote->setTextFormat(Qt::PlainText);
    lblFinderNote->setWordWrap(true);
    lblFinderNote->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblFinderNote->setFont(LabelFont(9));
    layout->addWidget(lblFinderNote);

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
    setMinimumSize(320, 240);
    resize(finderWidth, finderHeight);
}

frmPlaceFinder::~frmPlaceFinder() {
    stop_->store(true);
    if (rowsStop_) {
        rowsStop_->store(true);
    }
}

void frmPlaceFinder::showRequest(const PlaceFinderRequest& request) {
    request_ = request;
    if (index_) {
        makeRows();
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
    request_.birthDate = birthDate;
    request_.birthTime = birthTime;
    if (index_ && isVisible()) { // a hidden finder gets its whole request when shown again
        makeRows();
    }
}

void frmPlaceFinder::indexLoaded() {
    index_ = loading_->result();
    loading_->deleteLater();
    loading_ = nullptr;
    makeRows();
    // Then every other zone's history, in the background, so that later requests find them
    // read. The reading stops between two zones once the window goes.
    // Its future is not kept: nothing waits for it.
    (void)QtConcurrent::run([index = index_, stop = stop_] {
        QSet<QByteArray> zones;
        for (const Place& place : index->places()) {
            if (stop->load(std::memory_order_relaxed)) {
                return;
            }
            if (!zones.contains(place.zoneId)) {
                zones.insert(place.zoneId);
                ZoneHistory::ForZone(place.zoneId);
            }
        }
    });
}

void frmPlaceFinder::makeRows() {
    const int number = ++rowsRequested_;
    rowsPending_ = true;
    if (rowsStop_) {
        rowsStop_->store(true); // the rows asked for before are not shown
    }
    rowsStop_ = std::make_shared<std::atomic<bool>>(false);
    auto* making = new QFutureWatcher<QList<FinderRow>>(this);
    connect(making, &QFutureWatcherBase::finished, this, [this, making, number] {
        making->deleteLater();
        if (number == rowsRequested_) { // rows for an earlier request are dropped
            rowsPending_ = false;
            showRows(making->result());
        }
    });
    making->setFuture(QtConcurrent::run([index = index_, request = request_, stop = rowsStop_] {
        return MakeFinderRows(*index, request, finderRowLimit, *stop);
    }));
    updateNote();
}

void frmPlaceFinder::showRows(const QList<FinderRow>& rows) {
    const int previousRow =
        lstPlaces->currentItem() ? lstPlaces->indexOfTopLevelItem(lstPlaces->currentItem()) : 0;
    const bool hadFocus = lstPlaces->hasFocus();
    rows_ = rows;
    QList<QTreeWidgetItem*> items;
    items.reserve(rows.size());
    for (const FinderRow& row : rows) {
        items.append(new QTreeWidgetItem(row.columns));
    }
    lstPlaces->clear();
    lstPlaces->addTopLevelItems(items);
    for (int column = 0; column < lstPlaces->columnCount() - 1; ++column) {
        lstPlaces->resizeColumnToContents(column);
        lstPlaces->setColumnWidth(column, std::min(lstPlaces->columnWidth(column), widestColumn));
    }
    if (!items.isEmpty()) {
        lstPlaces->setCurrentItem(
            items.value(previousRow >= 0 && previousRow < items.size() ? previousRow : 0));
    }
    cmdUsePlace->setEnabled(lstPlaces->currentItem() != nullptr);
    if (!hadFocus) {
        (items.isEmpty() ? static_cast<QWidget*>(cmdSearchWeb) : lstPlaces)
            ->setFocus(Qt::OtherFocusReason);
    }
    updateNote();
}

void frmPlaceFinder::updateNote() {
    if (!index_) {
        lblFinderNote->setText(QStringLiteral("Reading the place list…"));
        return;
    }
    if (rows_.isEmpty()) {
        lblFinderNote->setText(
            rowsPending_
                ? QStringLiteral("Finding the places…")
                : QStringLiteral("No place called \"%1\" was found in the place list. Search The "
                                 "Web looks for it on the web.")
                      .arg(request_.place.city));
        return;
    }
    QString note = FinderMomentNote(request_.birthDate, request_.birthTime);
    QTreeWidgetItem* item = lstPlaces->currentItem();
    const int row = item ? lstPlaces->indexOfTopLevelItem(item) : -1;
    if (row >= 0 && row < rows_.size() && !rows_[row].note.isEmpty()) {
        note +=
            QStringLiteral("\n%1: %2")
                .arg(rows_[row].columns[static_cast<int>(FinderColumn::Place)].section(u'\n', 0, 0),
                     rows_[row].note);
    }
    lblFinderNote->setText(note);
}

void frmPlaceFinder::cmdUsePlace_Click() {
    QTreeWidgetItem* item = lstPlaces->currentItem();
    const int row = item ? lstPlaces->indexOfTopLevelItem(item) : -1;
    if (row >= 0 && row < rows_.size()) {
        const PlaceChoice choice = rows_[row].choice;
        close(); // like a dialog's OK: the input window takes the keyboard back
        emit placeChosen(choice);
    }
}

void frmPlaceFinder::cmdSearchWeb_Click() {
    RunGuardedStep([&] { SearchTheWeb(request_.searchText); });
}
