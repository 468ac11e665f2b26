#include "app/frmBirths.h"

#include "app/BirthsMenuController.h"
#include "chartview/Contrast.h"
#include "ui/Keyboard.h"
#include "ui/Messages.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <QTextCursor>
#include <QTreeView>
#include <QVBoxLayout>
#include <QtConcurrent>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

enum Column { NameColumn, DateColumn, TimeColumn, PlaceColumn, ColumnCount };

// "28°39′N": whole degrees, two-digit minutes, the hemisphere's letter.
QString CoordinateText(const QString& degrees, const QString& minutes, QChar hemisphere) {
    return QStringLiteral("%1°%2′%3")
        .arg(degrees.trimmed().toInt())
        .arg(minutes.trimmed().toInt(), 2, 10, QChar(u'0'))
        .arg(hemisphere);
}

// Writes notes on a connection of its own, which waits for another writer; the faults by birth.
QHash<qint64, LibraryError> WriteNotes(const QString& libraryPath,
                                       const QHash<qint64, QString>& notes) {
    // A worker's connection waits this long for another writer (an import takes a few seconds).
    constexpr int workerBusyTimeoutMs = 30000;
    BirthLibrary library(libraryPath, workerBusyTimeoutMs);
    QHash<qint64, LibraryError> faults;
    for (auto note = notes.cbegin(); note != notes.cend(); ++note) {
        if (const std::optional<LibraryError> fault = library.SetNote(note.key(), note.value())) {
            faults.insert(note.key(), *fault);
        }
    }
    return faults;
}

const QString waitingText = QStringLiteral(
    "Waiting for the library of births: another window or command is writing to it…");

} // namespace

QString BirthPlaceText(const SavedBirth& birth) {
    if (birth.city.trimmed().isEmpty()) {
        return CoordinateText(birth.latitudeDegrees, birth.latitudeMinutes,
                              birth.south ? u'S' : u'N') +
               u' ' +
               CoordinateText(birth.longitudeDegrees, birth.longitudeMinutes,
                              birth.east ? u'E' : u'W');
    }
    QStringList parts;
    for (const QString& part : {birth.city, birth.state, birth.country}) {
        if (!part.trimmed().isEmpty()) {
            parts << part.trimmed();
        }
    }
    return parts.join(QStringLiteral(", "));
}

QString BirthSummaryText(const SavedBirth& birth) {
    return QStringLiteral("%1, born %2 at %3 in %4")
        .arg(birth.name, BirthDateText(birth), BirthTimeText(birth), BirthPlaceText(birth));
}

BirthListModel::BirthListModel(BirthLibrary& library, QObject* parent)
    : QAbstractTableModel(parent), library_(library) {}

bool BirthListModel::search(const QString& text, LibraryError* fault) {
    auto found = library_.Search(text, order_);
    if (auto* error = std::get_if<LibraryError>(&found)) {
        if (fault) {
            *fault = *error;
        }
        return false;
    }
    beginResetModel();
    text_ = text;
    ids_ = std::move(std::get<std::vector<qint64>>(found));
    loaded_.clear(); // births are read afresh as their rows are shown, none kept for long
    endResetModel();
    return true;
}

bool BirthListModel::sortBy(BirthOrder order, LibraryError* fault) {
    auto found = library_.Search(text_, order);
    if (auto* error = std::get_if<LibraryError>(&found)) {
        if (fault) {
            *fault = *error;
        }
        return false;
    }
    std::vector<qint64> ids = std::move(std::get<std::vector<qint64>>(found));
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Few rows are held by persistent indexes: one pass over the new order finds them all.
    const QModelIndexList held = persistentIndexList();
    QHash<qint64, int> newRows;
    for (const QModelIndex& index : held) {
        newRows.insert(idAt(index.row()), -1);
    }
    for (std::size_t row = 0; row < ids.size(); ++row) {
        if (auto wanted = newRows.find(ids[row]); wanted != newRows.end()) {
            *wanted = static_cast<int>(row);
        }
    }
    QModelIndexList moved;
    moved.reserve(held.size());
    for (const QModelIndex& index : held) {
        const int row = newRows.value(idAt(index.row()), -1);
        moved.push_back(row < 0 ? QModelIndex() : createIndex(row, index.column()));
    }
    order_ = order;
    ids_ = std::move(ids);
    changePersistentIndexList(held, moved);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    return true;
}

qint64 BirthListModel::idAt(int row) const {
    return row >= 0 && row < rowCount() ? ids_[static_cast<std::size_t>(row)] : 0;
}

const SavedBirth* BirthListModel::birthAt(int row) const {
    const qint64 id = idAt(row);
    if (id == 0) {
        return nullptr;
    }
    if (auto kept = loaded_.constFind(id); kept != loaded_.cend()) {
        return &*kept;
    }
    auto loaded = library_.Load(id);
    auto* birth = std::get_if<std::optional<SavedBirth>>(&loaded);
    if (!birth || !*birth) {
        return nullptr; // removed meanwhile, or the library failed: the row shows blank
    }
    return &*loaded_.insert(id, **birth);
}

int BirthListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(ids_.size());
}

int BirthListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BirthListModel::data(const QModelIndex& index, int role) const {
    // The tip shows a name or place in full where the column cuts it.
    const bool tip =
        role == Qt::ToolTipRole && (index.column() == NameColumn || index.column() == PlaceColumn);
    if ((role != Qt::DisplayRole && !tip) || !index.isValid()) {
        return {};
    }
    const SavedBirth* birth = birthAt(index.row());
    if (!birth) {
        return {};
    }
    switch (index.column()) {
    case NameColumn:
        return birth->name;
    case DateColumn:
        return BirthDateText(*birth);
    case TimeColumn:
        return BirthTimeText(*birth);
    case PlaceColumn:
        return BirthPlaceText(*birth);
    default:
        return {};
    }
}

QVariant BirthListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    static const char* const titles[ColumnCount] = {"Name", "Date", "Time", "Place"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(titles[section])
                                                 : QVariant();
}

frmBirths::frmBirths(BirthLibrary& library, QWidget* parent)
    : QDialog(parent), library_(library), libraryPath_(library.Path()) {
    setObjectName(QStringLiteral("frmBirths"));
    notePause_.setSingleShot(true);
    notePause_.setInterval(notePauseMs);
    connect(&notePause_, &QTimer::timeout, this, &frmBirths::writeNotes);
    connect(&noteWriter_, &QFutureWatcherBase::finished, this,
            [this] { notesWritten(noteWriter_.result()); });
    removeRetry_.setSingleShot(true);
    removeRetry_.setInterval(50);
    connect(&removeRetry_, &QTimer::timeout, this, &frmBirths::tryRemove);
    setWindowTitle(QStringLiteral("Saved Births"));
    auto* column = new QVBoxLayout(this);

    auto* searchRow = new QHBoxLayout;
    auto* searchLabel = new QLabel(QStringLiteral("&Search:"), this);
    txtSearchBirths = new QLineEdit(this);
    txtSearchBirths->setObjectName(QStringLiteral("txtSearchBirths"));
    txtSearchBirths->setPlaceholderText(QStringLiteral("Names, places and dates"));
    txtSearchBirths->setAccessibleName(QStringLiteral("Search births"));
    searchLabel->setBuddy(txtSearchBirths);
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(txtSearchBirths, 1);
    column->addLayout(searchRow);

    model_ = new BirthListModel(library_, this);
    lstBirths = new QTreeView(this);
    lstBirths->setObjectName(QStringLiteral("lstBirths"));
    lstBirths->setAccessibleName(QStringLiteral("Saved births"));
    lstBirths->setRootIsDecorated(false);
    lstBirths->setUniformRowHeights(true); // rows are read only as they come into view
    lstBirths->setModel(model_);
    lstBirths->setSelectionMode(QAbstractItemView::SingleSelection);
    // A click on a column's header sorts by it, a second click the other way; the library sorts,
    // so the list stays lazy however many births it holds.
    QHeaderView* header = lstBirths->header();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(NameColumn, Qt::AscendingOrder);
    // Widths from the font rather than from the rows, which are not read until shown: the date
    // and the time just fit (with room for the sort arrow), a name of about twenty capitals, and
    // the place takes the rest.
    const QFontMetrics metrics(lstBirths->font());
    const int margin =
        2 * metrics.averageCharWidth() + style()->pixelMetric(QStyle::PM_HeaderMargin) * 2;
    const int arrow = style()->pixelMetric(QStyle::PM_HeaderMarkSize);
    header->resizeSection(NameColumn,
                          metrics.horizontalAdvance(QStringLiteral("MMMMMMMMMMMMMMMMMM")));
    header->resizeSection(DateColumn,
                          metrics.horizontalAdvance(QStringLiteral("0000-00-00")) + margin + arrow);
    header->resizeSection(TimeColumn,
                          metrics.horizontalAdvance(QStringLiteral("00:00")) + margin + arrow);
    column->addWidget(lstBirths, 3);
    // Said in the list when it is empty: why, and what to do.
    lblNoBirths = new QLabel(lstBirths->viewport());
    lblNoBirths->setObjectName(QStringLiteral("lblNoBirths"));
    lblNoBirths->setWordWrap(true);
    lblNoBirths->setAlignment(Qt::AlignCenter);
    lblNoBirths->setForegroundRole(QPalette::Text);
    lblNoBirths->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblNoBirths->hide();
    auto* emptyList = new QVBoxLayout(lstBirths->viewport());
    emptyList->addWidget(lblNoBirths);

    auto* noteLabel = new QLabel(QStringLiteral("&Note:"), this);
    column->addWidget(noteLabel);
    auto* noteRow = new QHBoxLayout;
    txtBirthNote = new QPlainTextEdit(this);
    txtBirthNote->setObjectName(QStringLiteral("txtBirthNote"));
    txtBirthNote->setAccessibleName(QStringLiteral("Note"));
    txtBirthNote->setTabChangesFocus(true);
    txtBirthNote->setMinimumHeight(fontMetrics().lineSpacing() * 4);
    noteLabel->setBuddy(txtBirthNote);
    noteRow->addWidget(txtBirthNote, 1);
    // The times of creation and last change, beside the note.
    lblBirthTimes = new QLabel(this);
    lblBirthTimes->setObjectName(QStringLiteral("lblBirthTimes"));
    lblBirthTimes->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblBirthTimes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    noteRow->addWidget(lblBirthTimes);
    column->addLayout(noteRow, 1);

    auto* buttons = new QHBoxLayout;
    cmdOpenBirth = new QPushButton(QStringLiteral("&Open"), this);
    cmdOpenBirth->setObjectName(QStringLiteral("cmdOpenBirth"));
    cmdDeleteBirth = new QPushButton(QStringLiteral("&Delete"), this);
    cmdDeleteBirth->setObjectName(QStringLiteral("cmdDeleteBirth"));
    cmdCloseBirths = new QPushButton(QStringLiteral("&Close"), this);
    cmdCloseBirths->setObjectName(QStringLiteral("cmdCloseBirths"));
    lblBirthsStatus = new QLabel(this);
    lblBirthsStatus->setObjectName(QStringLiteral("lblBirthsStatus"));
    lblBirthsStatus->setWordWrap(true);
    for (QPushButton* button : {cmdOpenBirth, cmdDeleteBirth, cmdCloseBirths}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->insertWidget(2, lblBirthsStatus, 1);
    column->addLayout(buttons);
    // Return on a focused button presses it, as in the place finder.
    PressFocusedButtonOnEnter(this);
    resize(720, 500);

    connect(txtSearchBirths, &QLineEdit::textChanged, this, [this](const QString& text) {
        takeNote(true);
        LibraryError fault;
        if (!model_->search(text, &fault)) {
            ShowLibraryError(fault, this);
        }
        if (model_->rowCount() > 0) {
            lstBirths->setCurrentIndex(model_->index(0, 0));
        }
        showSelected();
        showEmptyText();
    });
    connect(lstBirths->header(), &QHeaderView::sortIndicatorChanged, this,
            &frmBirths::sortByColumn);
    connect(lstBirths, &QTreeView::doubleClicked, this, &frmBirths::cmdOpenBirth_Click);
    connect(lstBirths->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        takeNote(true);
        showSelected();
    });
    connect(lstBirths->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmBirths::enableActions);
    // The note is saved after a pause in typing, not on every keystroke.
    connect(txtBirthNote, &QPlainTextEdit::textChanged, this, [this] { takeNote(false); });
    connect(cmdOpenBirth, &QPushButton::clicked, this, &frmBirths::cmdOpenBirth_Click);
    connect(cmdDeleteBirth, &QPushButton::clicked, this, &frmBirths::cmdDeleteBirth_Click);
    connect(cmdCloseBirths, &QPushButton::clicked, this, &QWidget::close);
    // Return in the search box or on the list opens the selected birth; Escape closes.
    connect(txtSearchBirths, &QLineEdit::returnPressed, this, &frmBirths::cmdOpenBirth_Click);
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* open = new QShortcut(QKeySequence(key), lstBirths);
        open->setContext(Qt::WidgetShortcut);
        connect(open, &QShortcut::activated, this, &frmBirths::cmdOpenBirth_Click);
    }
    followPalette();
}

frmBirths::~frmBirths() {
    noteOwner_ = 0;
    notePause_.stop();
    removeRetry_.stop();
    for (QObject* part :
         {static_cast<QObject*>(txtSearchBirths),
          static_cast<QObject*>(lstBirths->selectionModel()), static_cast<QObject*>(txtBirthNote),
          static_cast<QObject*>(&noteWriter_)}) {
        part->disconnect(this);
    }
    // The notes in the worker's hands, and those typed since, are written by a last worker after
    // it: the newest text of each note is written last (the program waits for its workers
    // before it ends).
    QHash<qint64, QString> notes = writingNotes_;
    notes.insert(unsavedNotes_);
    if (!notes.isEmpty()) {
        (void)QtConcurrent::run(
            [path = libraryPath_, notes, previous = noteWriter_.future()]() mutable {
                previous.waitForFinished();
                WriteNotes(path, notes);
            });
    }
}

void frmBirths::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        followPalette();
    }
}

void frmBirths::hideEvent(QHideEvent* event) {
    takeNote(true); // the window closes: the note typed is written now
    QDialog::hideEvent(event);
}

void frmBirths::followPalette() {
    // The search box's hint in a colour that reads on the box, whatever the palette.
    const QPalette around = palette();
    QPalette own = txtSearchBirths->palette();
    const QColor ink = ReadableInk(around.color(QPalette::PlaceholderText),
                                   around.color(QPalette::Base), around.color(QPalette::Text));
    if (own.color(QPalette::PlaceholderText) != ink) {
        own.setColor(QPalette::PlaceholderText, ink);
        txtSearchBirths->setPalette(own);
    }
}

void frmBirths::refresh() {
    txtSearchBirths->blockSignals(true);
    txtSearchBirths->clear();
    txtSearchBirths->blockSignals(false);
    LibraryError fault;
    if (!model_->search(QString(), &fault)) {
        ShowLibraryError(fault, this);
    }
    // A library that cannot be written says so once, here, instead of refusing each change.
    const bool readOnly = library_.ReadOnly();
    lblBirthsStatus->setText(readOnly ? QStringLiteral("This library of births is read-only: its "
                                                       "births can be opened, not changed.")
                                      : QString());
    txtBirthNote->setReadOnly(readOnly);
    if (model_->rowCount() > 0) {
        lstBirths->setCurrentIndex(model_->index(0, 0));
    }
    showSelected();
    showEmptyText();
    txtSearchBirths->setFocus(Qt::OtherFocusReason);
}

void frmBirths::sortByColumn(int column, Qt::SortOrder direction) {
    static constexpr BirthOrderColumn orders[ColumnCount] = {
        BirthOrderColumn::Name, BirthOrderColumn::Date, BirthOrderColumn::Time,
        BirthOrderColumn::Place};
    if (column < 0 || column >= ColumnCount) {
        return;
    }
    LibraryError fault;
    if (!model_->sortBy(BirthOrder{orders[column], direction}, &fault)) {
        // The rows keep their order, and so does the header's indicator.
        const QSignalBlocker quiet(lstBirths->header());
        const auto* shown = std::find(std::begin(orders), std::end(orders), model_->order().column);
        lstBirths->header()->setSortIndicator(static_cast<int>(shown - std::begin(orders)),
                                              model_->order().direction);
        ShowLibraryError(fault, this);
        return;
    }
    // The new order from its start, unless the selected birth is further down: then just far
    // enough to show it.
    lstBirths->scrollToTop();
    if (lstBirths->currentIndex().isValid()) {
        lstBirths->scrollTo(lstBirths->currentIndex());
    }
}

qint64 frmBirths::selectedId() const {
    return model_->idAt(lstBirths->currentIndex().row());
}

int frmBirths::selectedRow() const {
    const QModelIndexList selected = lstBirths->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void frmBirths::showSelected() {
    const SavedBirth* birth = model_->birthAt(lstBirths->currentIndex().row());
    noteOwner_ = 0; // the box's own change below is not an edit
    noteShown_ = birth ? unsavedNotes_.value(birth->id, writingNotes_.value(birth->id, birth->note))
                       : QString();
    txtBirthNote->setPlainText(noteShown_);
    txtBirthNote->setEnabled(birth != nullptr);
    showTimes(birth);
    noteOwner_ = birth ? birth->id : 0;
    enableActions();
}

void frmBirths::enableActions() {
    cmdOpenBirth->setEnabled(model_->birthAt(lstBirths->currentIndex().row()) != nullptr);
    cmdDeleteBirth->setEnabled(!pendingRemove_ && !library_.ReadOnly() &&
                               model_->birthAt(selectedRow()) != nullptr);
}

void frmBirths::showEmptyText() {
    const QString search = txtSearchBirths->text().trimmed();
    lblNoBirths->setText(search.isEmpty()
                             ? QStringLiteral("No births are saved yet.\nSave a birth with Ctrl+S, "
                                              "or import a file.")
                             : QStringLiteral("No saved birth matches “%1”.").arg(search));
    lblNoBirths->setVisible(model_->rowCount() == 0);
}

void frmBirths::showTimes(const SavedBirth* birth) {
    const QLocale locale;
    lblBirthTimes->setText(
        birth ? QStringLiteral("Created:\n%1\n\nLast changed:\n%2")
                    .arg(locale.toString(birth->created.toLocalTime(), QLocale::ShortFormat),
                         locale.toString(birth->changed.toLocalTime(), QLocale::ShortFormat))
              : QString());
}

void frmBirths::takeNote(bool now) {
    if (noteOwner_ != 0) {
        QString note = txtBirthNote->toPlainText();
        if (note.size() > maxNoteLength) {
            // The box holds no more than the library keeps, so that what it shows is what is
            // saved.
            note.truncate(maxNoteLength);
            const QSignalBlocker quiet(txtBirthNote);
            txtBirthNote->setPlainText(note);
            txtBirthNote->moveCursor(QTextCursor::End);
        }
        if (note != noteShown_) { // else the selection moved, or the text is as it was
            noteShown_ = note;
            unsavedNotes_.insert(noteOwner_, note);
        }
    }
    if (now) {
        notePause_.stop();
        writeNotes();
    } else if (!unsavedNotes_.isEmpty()) {
        notePause_.start();
    }
}

void frmBirths::writeNotes() {
    if (unsavedNotes_.isEmpty() || noteWriter_.isRunning()) {
        return; // nothing to write, or written when the worker under way is done
    }
    writingNotes_ = std::exchange(unsavedNotes_, {});
    noteWriter_.setFuture(QtConcurrent::run(WriteNotes, libraryPath_, writingNotes_));
}

void frmBirths::notesWritten(const QHash<qint64, LibraryError>& faults) {
    const QHash<qint64, QString> written = std::exchange(writingNotes_, {});
    for (auto note = written.cbegin(); note != written.cend(); ++note) {
        if (faults.contains(note.key())) {
            ShowLibraryError(faults.value(note.key()), this);
            continue;
        }
        model_->forget(note.key());
        // The time of this change, read back, when the box still shows this birth.
        if (selectedId() == note.key()) {
            showTimes(model_->birthAt(lstBirths->currentIndex().row()));
        }
    }
    if (!notePause_.isActive()) {
        writeNotes(); // those whose pause ended while the worker wrote
    }
}

void frmBirths::cmdOpenBirth_Click() {
    const SavedBirth* birth = model_->birthAt(lstBirths->currentIndex().row());
    if (!birth) {
        return;
    }
    const SavedBirth chosen = *birth;
    close();
    emit birthChosen(chosen);
}

void frmBirths::cmdDeleteBirth_Click() {
    const SavedBirth* birth = model_->birthAt(selectedRow());
    if (!birth || pendingRemove_) {
        return;
    }
    if (!AskYesNo(QStringLiteral("Delete the saved birth of %1?").arg(BirthSummaryText(*birth)),
                  this)) {
        return;
    }
    pendingRemove_ = PendingRemove{birth->id, QDeadlineTimer(patienceMs_)};
    enableActions();
    tryRemove();
}

void frmBirths::tryRemove() {
    if (!pendingRemove_) {
        return;
    }
    const std::optional<LibraryError> fault = library_.Remove(pendingRemove_->id);
    if (fault && fault->fault == LibraryFault::Busy && !pendingRemove_->deadline.hasExpired()) {
        lblBirthsStatus->setText(waitingText);
        removeRetry_.start(); // from the event loop: the window keeps answering
        return;
    }
    lblBirthsStatus->clear();
    const qint64 id = pendingRemove_->id;
    pendingRemove_.reset();
    if (fault) {
        ShowLibraryError(*fault, this);
        enableActions(); // the birth and its note box stay as they were
        return;
    }
    unsavedNotes_.remove(id);
    noteOwner_ = 0;
    model_->forget(id);
    // The birth shown stays shown, unless it was the one deleted: then the row that took its
    // place.
    const qint64 shown = selectedId();
    int row = lstBirths->currentIndex().row();
    LibraryError searchFault;
    model_->search(txtSearchBirths->text(), &searchFault);
    for (int at = 0; shown != id && at < model_->rowCount(); ++at) {
        if (model_->idAt(at) == shown) {
            row = at;
            break;
        }
    }
    if (model_->rowCount() > 0) {
        lstBirths->setCurrentIndex(model_->index(std::clamp(row, 0, model_->rowCount() - 1), 0));
    }
    showSelected();
    showEmptyText();
}
