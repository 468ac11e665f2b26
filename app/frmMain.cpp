#include "app/frmMain.h"

#include "app/BirthsMenuController.h"
#include "app/CalculationDriver.h"
#include "app/FilteredLineEdit.h"
#include "app/ImageList.h"
#include "app/PlaceOwnTimeEntry.h"
#include "app/Reading.h"
#include "app/ScreenReaderNames.h"
#include "chart/TimeZones.h"
#include "chart/Validation.h"
#include "library/BirthLibrary.h"
#include "links/modHelp.h"
#include "places/BirthTime.h"
#include "ui/Appearance.h"
#include "ui/ClickableLabel.h"
#include "ui/DisplayFonts.h"
#include "ui/Keyboard.h"
#include "ui/Messages.h"
#include "ui/WindowParts.h"

#include <QAccessible>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMetaMethod>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>

namespace {

QComboBox* makeList(QWidget* parent, const char* name) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setEditable(false);
    return list;
}

void addNumbers(QComboBox* list, int first, int last) {
    for (int number = first; number <= last; ++number) {
        list->addItem(QString::number(number));
    }
}

// A caption whose access key moves the focus to `buddy`.
QLabel* makeCaption(QWidget* parent, const char* name, const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    return label;
}

FilteredLineEdit* makeCoordinateBox(QWidget* parent, const char* name, int maxLength) {
    auto* box = new FilteredLineEdit(FilteredLineEdit::Rule::Coordinate, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setMaxLength(maxLength);
    // Wide enough for the longest value and no wider.
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QString(maxLength + 2, u'0')) + 16);
    return box;
}

// How long the confirmation of a save stays in the status line: the fields may soon hold
// another birth.
constexpr int savedStatusMs = 10000;

} // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(programTitle);
    // Closing unloads the window; the exit promotion window takes over.
    setAttribute(Qt::WA_DeleteOnClose);

    // The body pictures the result window shows; never shown here.
    IMGPlanet = ImageList::bodyPictures(this);
    IMGPlanet->setObjectName(QStringLiteral("IMGPlanet"));

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    auto* layout = new QVBoxLayout(central);

    auto* Label2 = new QLabel(
        QStringLiteral(
            "Why are people born under the same zodiac sign so different from each other? "
            "How can astrology guide you in knowing the finer attributes of ones' "
            "personality? Korvani can help you understand your physical and "
            "physiological qualities that influence one's body, mind and soul."),
        central);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextFormat(Qt::PlainText);
    Label2->setWordWrap(true);
    Label2->setFont(LabelFont(9));
    layout->addWidget(Label2);

    layout->addWidget(createEntryFields());
    layout->addWidget(createPlaceLookup());

    cmdRashi = new QPushButton(QStringLiteral("Get My Vedic Astrology Decanates"), central);
    cmdRashi->setObjectName(QStringLiteral("cmdRashi"));
    cmdRashi->setFont(LabelFont(10, true));
    cmdRashi->setMinimumHeight(cmdRashi->sizeHint().height() + 8);
    connect(cmdRashi, &QPushButton::clicked, this, &frmMain::cmdRashi_Click);
    layout->addWidget(cmdRashi);

    layout->addWidget(createOffers());
    layout->addStretch();
    setCentralWidget(central);
    // The wrapped paragraphs grow taller as the window narrows; keep room for every field at the
    // narrowest width the window allows.
    central->setMinimumHeight(layout->totalHeightForWidth(central->minimumSizeHint().width()));

    births_ = new BirthsMenuController(this);
    connect(births_, &BirthsMenuController::statusChanged, this,
            [this](const QString& text) { showStatus(text); });
    connect(births_, &BirthsMenuController::recentChosen, this, &frmMain::useBirth);
    connect(births_, &BirthsMenuController::restored, this, &frmMain::birthsRestored);
    connect(births_, &BirthsMenuController::saved, this, [this](const SavedBirth& birth) {
        lastFields_ = std::move(savingFields_); // as they were when Save was chosen
        showStatus(QStringLiteral("Saved %1.").arg(birth.name), savedStatusMs);
    });
    // The status line is there from the start, so that the first message does not make the
    // window taller.
    statusBar()->setObjectName(QStringLiteral("staStatus"));
    createMenus();
    arrangeTabOrder();
    // Ctrl+Return calculates from anywhere in the window; Return presses the focused button.
    for (const QKeyCombination keys :
         {QKeyCombination(Qt::ControlModifier, Qt::Key_Return),
          QKeyCombination(Qt::ControlModifier, Qt::Key_Enter),
          QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Enter)}) {
        auto* calculate = new QShortcut(keys, this);
        connect(calculate, &QShortcut::activated, this, &frmMain::cmdRashi_Click);
    }
    PressFocusedButtonOnEnter(this);
    Form_Load();
    emptyFields_ = std::make_unique<SavedBirth>(birthFromFields());
    ApplyAccessibleNames(*this, ScreenReaderNamesOfInputWindow());
}

QWidget* frmMain::createEntryFields() {
    auto* frame = new QWidget(this);
    frame->setObjectName(QStringLiteral("fraEntry"));
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(0, 0, 0, 0);

    boxes_.txtName = new FilteredLineEdit(FilteredLineEdit::Rule::Name, frame);
    boxes_.txtName->setObjectName(QStringLiteral("txtName"));
    grid->addWidget(makeCaption(frame, "lblName", QStringLiteral("&Name"), boxes_.txtName), 0, 0);
    grid->addWidget(boxes_.txtName, 0, 1, 1, 4);

    boxes_.cboMonth = makeList(frame, "cboMonth");
    boxes_.cboDate = makeList(frame, "cboDate");
    boxes_.cboYear = makeList(frame, "cboYear");
    grid->addWidget(
        makeCaption(frame, "lblDateOfBirth", QStringLiteral("Date of &Birth"), boxes_.cboMonth), 1,
        0);
    grid->addWidget(boxes_.cboMonth, 1, 1);
    grid->addWidget(boxes_.cboDate, 1, 2);
    grid->addWidget(boxes_.cboYear, 1, 3);

    boxes_.cboHH = makeList(frame, "cboHH");
    boxes_.cboMM = makeList(frame, "cboMM");
    cboSS = makeList(frame, "cboSS");
    grid->addWidget(
        makeCaption(frame, "lblTimeOfBirth", QStringLiteral("&Time of Birth"), boxes_.cboHH), 2, 0);
    grid->addWidget(boxes_.cboHH, 2, 1);
    grid->addWidget(boxes_.cboMM, 2, 2);
    grid->addWidget(cboSS, 2, 3);
    auto* hint = new QLabel(QStringLiteral("HH:MM:SS"), frame);
    hint->setObjectName(QStringLiteral("lblTimeHint"));
    grid->addWidget(hint, 2, 4);

    // One frame per coordinate, each with its own option pair.
    // The access keys sit on the Deg and Min captions: a frame's own key would go to its
    // checked option rather than to the degrees.
    auto makeCoordinateFrame = [frame](const char* frameName, const QString& title,
                                       FilteredLineEdit* degrees, const QString& degreesText,
                                       FilteredLineEdit* minutes, const QString& minutesText,
                                       QRadioButton* first, QRadioButton* second) {
        auto* box = new QGroupBox(title, frame);
        box->setObjectName(QString::fromLatin1(frameName));
        degrees->setParent(box);
        minutes->setParent(box);
        first->setParent(box);
        second->setParent(box);
        auto* row = new QHBoxLayout(box);
        auto* degreesCaption = new QLabel(degreesText, box);
        degreesCaption->setBuddy(degrees);
        auto* minutesCaption = new QLabel(minutesText, box);
        minutesCaption->setBuddy(minutes);
        row->addWidget(degreesCaption);
        row->addWidget(degrees);
        row->addWidget(minutesCaption);
        row->addWidget(minutes);
        row->addSpacing(8);
        row->addWidget(first);
        row->addWidget(second);
        row->addStretch();
        auto* group = new QButtonGroup(box);
        group->addButton(first, 0);
        group->addButton(second, 1);
        return box;
    };

    boxes_.txtLonD = makeCoordinateBox(frame, "txtLonD", 3);
    boxes_.txtLonM = makeCoordinateBox(frame, "txtLonM", 2);
    boxes_.optLong_0 = new QRadioButton(QStringLiteral("Ea&st"), frame);
    boxes_.optLong_0->setObjectName(QStringLiteral("optLong_0"));
    boxes_.optLong_1 = new QRadioButton(QStringLiteral("&West"), frame);
    boxes_.optLong_1->setObjectName(QStringLiteral("optLong_1"));
    boxes_.txtLatD = makeCoordinateBox(frame, "txtLatD", 2);
    boxes_.txtLatM = makeCoordinateBox(frame, "txtLatM", 2);
    boxes_.optLat_0 = new QRadioButton(QStringLiteral("No&rth"), frame);
    boxes_.optLat_0->setObjectName(QStringLiteral("optLat_0"));
    boxes_.optLat_1 = new QRadioButton(QStringLiteral("So&uth"), frame);
    boxes_.optLat_1->setObjectName(QStringLiteral("optLat_1"));

    auto* coordinates = new QHBoxLayout;
    coordinates->addWidget(makeCoordinateFrame(
        "fraLongitude", QStringLiteral("Longitude"), boxes_.txtLonD, QStringLiteral("D&eg"),
        boxes_.txtLonM, QStringLiteral("&Min"), boxes_.optLong_0, boxes_.optLong_1));
    coordinates->addWidget(makeCoordinateFrame(
        "fraLatitude", QStringLiteral("Latitude"), boxes_.txtLatD, QStringLiteral("De&g"),
        boxes_.txtLatM, QStringLiteral("M&in"), boxes_.optLat_0, boxes_.optLat_1));
    grid->addLayout(coordinates, 3, 0, 1, 5);

    auto* zone = new QGroupBox(QStringLiteral("&Zone"), frame);
    zone->setObjectName(QStringLiteral("fraZone"));
    auto* zoneRow = new QHBoxLayout(zone);
    boxes_.cmbTimeZone = makeList(zone, "cmbTimeZone");
    boxes_.chkDST = new QCheckBox(QStringLiteral("Daylight Sa&ving Time"), zone);
    boxes_.chkDST->setObjectName(QStringLiteral("chkDST"));
    zoneRow->addWidget(boxes_.cmbTimeZone, 1);
    zoneRow->addWidget(boxes_.chkDST);
    OutlineIndicators(
        {boxes_.optLong_0, boxes_.optLong_1, boxes_.optLat_0, boxes_.optLat_1, boxes_.chkDST},
        this);
    grid->addWidget(zone, 4, 0, 1, 5);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(3, 1);
    return frame;
}

QWidget* frmMain::createPlaceLookup() {
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("fraPlace"));
    auto* grid = new QGridLayout(box);
    boxes_.txtMCity = new QLineEdit(box);
    boxes_.txtMCity->setObjectName(QStringLiteral("txtMCity"));
    boxes_.txtMState = new QLineEdit(box);
    boxes_.txtMState->setObjectName(QStringLiteral("txtMState"));
    boxes_.txtMCountry = new QLineEdit(box);
    boxes_.txtMCountry->setObjectName(QStringLiteral("txtMCountry"));
    for (QLineEdit* place : {boxes_.txtMCity, boxes_.txtMState, boxes_.txtMCountry}) {
        place->setMaxLength(placeTextMaxLength);
    }
    grid->addWidget(makeCaption(box, "lblCity", QStringLiteral("&City"), boxes_.txtMCity), 0, 0);
    grid->addWidget(boxes_.txtMCity, 0, 1);
    grid->addWidget(makeCaption(box, "lblState", QStringLiteral("St&ate"), boxes_.txtMState), 0, 2);
    grid->addWidget(boxes_.txtMState, 0, 3);
    grid->addWidget(makeCaption(box, "lblCountry", QStringLiteral("Countr&y"), boxes_.txtMCountry),
                    0, 4);
    grid->addWidget(boxes_.txtMCountry, 0, 5);
    // "&&" shows one ampersand and gives the button no access key.
    cmdBrowser = new QPushButton(QStringLiteral("Click Here To Find Latitude && Longitude"), box);
    cmdBrowser->setObjectName(QStringLiteral("cmdBrowser"));
    connect(cmdBrowser, &QPushButton::clicked, this, &frmMain::cmdBrowser_Click);
    grid->addWidget(cmdBrowser, 1, 0, 1, 6);
    return box;
}

QWidget* frmMain::createOffers() {
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("fraOffers"));
    frame->setFrameShape(QFrame::StyledPanel);
    auto* column = new QVBoxLayout(frame);
    column->addWidget(MakeOfferLabel(frame, Offer::Banner, 9));
    column->addWidget(MakeOfferLabel(frame, Offer::CoBrand, 8));
    column->addWidget(MakeOfferLabel(frame, Offer::FullBrand, 8));
    return frame;
}

void frmMain::createMenus() {
    QMenuBar* bar = menuBar();
    QMenu* mnuFile = AddFileMenu(bar);
    QAction* mnuNext = mnuFile->addAction(QStringLiteral("Get My Vedic Astrology Decanates"));
    mnuNext->setObjectName(QStringLiteral("mnuNext"));
    connect(mnuNext, &QAction::triggered, this, &frmMain::cmdRashi_Click);
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuBirthsSep1"));
    QAction* mnuSaveBirth = mnuFile->addAction(QStringLiteral("&Save Birth"));
    mnuSaveBirth->setObjectName(QStringLiteral("mnuSaveBirth"));
    mnuSaveBirth->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(mnuSaveBirth, &QAction::triggered, this, &frmMain::mnuSaveBirth_Click);
    QAction* mnuOpenBirth = mnuFile->addAction(QStringLiteral("&Open Birth…"));
    mnuOpenBirth->setObjectName(QStringLiteral("mnuOpenBirth"));
    mnuOpenBirth->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(mnuOpenBirth, &QAction::triggered, this, &frmMain::mnuOpenBirth_Click);
    QMenu* mnuRecentBirths = mnuFile->addMenu(QStringLiteral("Recent &Births"));
    mnuRecentBirths->setObjectName(QStringLiteral("mnuRecentBirths"));
    mnuRecentBirths->menuAction()->setObjectName(QStringLiteral("mnuRecentBirthsItem"));
    births_->fillRecentMenu(mnuRecentBirths);
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuBirthsSep3"));
    const struct {
        const char* name;
        const char* text;
        void (BirthsMenuController::*action)();
    } fileItems[] = {
        {"mnuImportBirths", "&Import Births…", &BirthsMenuController::importBirths},
        {"mnuExportBirths", "&Export Births…", &BirthsMenuController::exportBirths},
        {"mnuBackupBirths", "Back &Up Births…", &BirthsMenuController::backUpBirths},
        {"mnuRestoreBirths", "&Restore Births…", &BirthsMenuController::restoreBirths}};
    for (const auto& item : fileItems) {
        QAction* action = mnuFile->addAction(QString::fromUtf8(item.text));
        action->setObjectName(QString::fromLatin1(item.name));
        connect(action, &QAction::triggered, births_, item.action);
    }
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuBirthsSep2"));
    QAction* mnuExit = AddExitItem(mnuFile);
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);

    connect(AddToolsMenu(bar), &QAction::triggered, this, &frmMain::settingsRequested);
    QAction* about = AddHelpAndOfferMenus(
        bar, {QStringLiteral("Check for Software &Update"), "mnuHelpSep1", "mnuHelpSep2"});
    connect(about, &QAction::triggered, this, &frmMain::aboutRequested);
}

void frmMain::arrangeTabOrder() {
    QWidget* const order[] = {boxes_.txtName,
                              boxes_.cboMonth,
                              boxes_.cboDate,
                              boxes_.cboYear,
                              boxes_.cboHH,
                              boxes_.cboMM,
                              cboSS,
                              boxes_.txtLonD,
                              boxes_.txtLonM,
                              boxes_.optLong_0,
                              boxes_.optLong_1,
                              boxes_.txtLatD,
                              boxes_.txtLatM,
                              boxes_.optLat_0,
                              boxes_.optLat_1,
                              boxes_.cmbTimeZone,
                              boxes_.chkDST,
                              boxes_.txtMCity,
                              boxes_.txtMState,
                              boxes_.txtMCountry,
                              cmdBrowser,
                              cmdRashi,
                              findChild<QWidget*>(QStringLiteral("Label61")),
                              findChild<QWidget*>(QStringLiteral("lblCobrand")),
                              findChild<QWidget*>(QStringLiteral("lblFullBrand"))};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void frmMain::Form_Load() {
    for (const char* month : monthNames) {
        boxes_.cboMonth->addItem(QString::fromLatin1(month));
    }
    for (const TimeZoneEntry& zone : timeZoneTable) {
        boxes_.cmbTimeZone->addItem(QString::fromLatin1(zone.listText));
    }
    addNumbers(boxes_.cboDate, 1, 31);
    addNumbers(boxes_.cboYear, firstEntryYear, lastEntryYear);
    addNumbers(boxes_.cboHH, 0, 23);
    addNumbers(boxes_.cboMM, 0, 59);
    addNumbers(cboSS, 0, 59);
    for (QComboBox* list :
         {boxes_.cboMonth, boxes_.cboDate, boxes_.cboYear, boxes_.cboHH, boxes_.cboMM, cboSS}) {
        list->setCurrentIndex(0);
    }
    boxes_.cmbTimeZone->setCurrentIndex(defaultTimeZonePosition);
    for (QComboBox* list :
         {boxes_.cboMonth, boxes_.cboDate, boxes_.cboYear, boxes_.cboHH, boxes_.cboMM}) {
        connect(list, &QComboBox::currentIndexChanged, this, [this] {
            const BirthFields entered = fields();
            emit birthMomentChanged(BirthDateOf(entered), BirthTimeOf(entered));
        });
    }
    // The place's own time follows the date and time; a coordinate typed or a hemisphere chosen
    // takes it away.
    ownTime_ = new PlaceOwnTimeEntry(boxes_.cmbTimeZone, boxes_.chkDST, this);
    for (QComboBox* list :
         {boxes_.cboMonth, boxes_.cboDate, boxes_.cboYear, boxes_.cboHH, boxes_.cboMM, cboSS}) {
        connect(list, &QComboBox::currentIndexChanged, this,
                [this] { ownTime_->follow(birthDate(), birthClock()); });
    }
    for (QLineEdit* box :
         {static_cast<QLineEdit*>(boxes_.txtLonD), static_cast<QLineEdit*>(boxes_.txtLonM),
          static_cast<QLineEdit*>(boxes_.txtLatD), static_cast<QLineEdit*>(boxes_.txtLatM)}) {
        connect(box, &QLineEdit::textEdited, ownTime_, &PlaceOwnTimeEntry::drop);
    }
    for (QRadioButton* option :
         {boxes_.optLong_0, boxes_.optLong_1, boxes_.optLat_0, boxes_.optLat_1}) {
        connect(option, &QRadioButton::clicked, ownTime_, &PlaceOwnTimeEntry::drop);
    }
    boxes_.optLong_0->setChecked(true);
    boxes_.optLat_0->setChecked(true);
    boxes_.txtName->setFocus();
}

QWidget* frmMain::focusTargetWidget(FocusTarget target) const {
    switch (target) {
    case FocusTarget::Name:
        return boxes_.txtName;
    case FocusTarget::LongitudeDegrees:
        return boxes_.txtLonD;
    case FocusTarget::LongitudeMinutes:
        return boxes_.txtLonM;
    case FocusTarget::LatitudeDegrees:
        return boxes_.txtLatD;
    case FocusTarget::LatitudeMinutes:
        return boxes_.txtLatM;
    case FocusTarget::City:
        return boxes_.txtMCity;
    case FocusTarget::State:
        return boxes_.txtMState;
    case FocusTarget::Country:
        return boxes_.txtMCountry;
    case FocusTarget::None:
        break;
    }
    return nullptr;
}

bool frmMain::validateBirthData() {
    const std::optional<ValidationFault> fault = ValidateBirthData(EntryToValidate(fields()));
    if (!fault) {
        return true;
    }
    ShowMessage(fault->icon, QString::fromStdString(fault->message), this);
    if (QWidget* target = focusTargetWidget(fault->focus)) {
        target->setFocus(Qt::OtherFocusReason);
        if (auto* box = qobject_cast<QLineEdit*>(target)) {
            box->selectAll(); // the wrong value, ready to be typed over
        }
    }
    return false;
}

void frmMain::cmdRashi_Click() {
    if (!validateBirthData()) {
        return; // nothing changes; the message has told the user what to correct
    }
    if (const auto own = ownTime_->read(birthDate(), birthClock());
        own && !own->clockChange.isEmpty()) {
        // As the command: a local time that did not exist, or happened twice, is not computed.
        ShowMessage(MessageIcon::Information,
                    own->reading.kind == LocalTimeReading::Kind::Gap
                        ? QStringLiteral("%1. Check the birth time, or choose a row of the zone "
                                         "list.")
                              .arg(own->clockChange)
                        : QStringLiteral("%1. Choose the row of the zone list for the one that "
                                         "was meant.")
                              .arg(own->clockChange),
                    this);
        boxes_.cmbTimeZone->setFocus(Qt::OtherFocusReason);
        return;
    }
    const BirthFields entered = fields();
    DriverControls controls = ControlsToCalculate(entered);
    if (const auto own = ownTime_->read(birthDate(), birthClock())) {
        controls.zoneCorrection = own->correction;
    }
    const CalculationDone done = CalculateFromControls(chart_, controls, settings_);
    ChartHeaderFields who = headerFields();
    who.calculation = QString::fromStdString(SettingsSummary(done.settings, done.ayanamsaDegrees));
    who.drekkana = done.settings.drekkana;
    // The owner writes the results into the result window, shows it and hides this one.
    emit calculated(chart_, IMGPlanet, who);
}

void frmMain::cmdBrowser_Click() {
    const BirthFields entered = fields();
    const auto lookup = PlaceLookupSearchText(
        {entered.city.toStdString(), entered.state.toStdString(), entered.country.toStdString()});
    if (const auto* fault = std::get_if<ValidationFault>(&lookup)) {
        ShowMessage(fault->icon, QString::fromStdString(fault->message), this);
        if (QWidget* target = focusTargetWidget(fault->focus)) {
            target->setFocus(Qt::OtherFocusReason);
        }
        return;
    }
    const QString searchText = QString::fromStdString(std::get<std::string>(lookup));
    if (isSignalConnected(QMetaMethod::fromSignal(&frmMain::placeLookupRequested))) {
        emit placeLookupRequested(
            PlaceFinderRequest{searchText,
                               {entered.city, entered.state, entered.country, {}},
                               BirthDateOf(entered),
                               BirthTimeOf(entered)});
        return;
    }
    // A window on its own, without an owner that finds places: the web search.
    RunGuardedStep([&] { SearchTheWeb(searchText); });
}

QDate frmMain::birthDate() const {
    return BirthDateOf(fields());
}

QTime frmMain::birthTime() const {
    return BirthTimeOf(fields());
}

namespace {

bool SameCoordinates(const SavedBirth& a, const SavedBirth& b) {
    return a.longitudeDegrees == b.longitudeDegrees && a.longitudeMinutes == b.longitudeMinutes &&
           a.east == b.east && a.latitudeDegrees == b.latitudeDegrees &&
           a.latitudeMinutes == b.latitudeMinutes && a.south == b.south;
}

} // namespace

QTime frmMain::birthClock() const {
    return {boxes_.cboHH->currentText().toInt(), boxes_.cboMM->currentText().toInt(),
            cboSS->currentText().toInt()};
}

ChartHeaderFields frmMain::headerFields() const {
    ChartHeaderFields fields;
    fields.name = boxes_.txtName->text();
    QStringList place;
    for (const QLineEdit* box : {boxes_.txtMCity, boxes_.txtMState, boxes_.txtMCountry}) {
        if (!box->text().trimmed().isEmpty()) {
            place << box->text().trimmed();
        }
    }
    fields.placeText = place.join(QStringLiteral(", "));
    if (const auto own = ownTime_->read(birthDate(), birthClock())) {
        fields.zoneText = QString::fromLatin1(ownTime_->chosenZone());
        fields.offsetSeconds = own->offsetSeconds;
        // The chart is computed at the offset the place kept, seconds included.
        fields.placeKeptOffsetSeconds = own->reading.offset.offsetSeconds;
        return fields;
    }
    fields.zoneText = boxes_.cmbTimeZone->currentText();
    const int row = boxes_.cmbTimeZone->currentIndex();
    if (row >= 0 && row < timeZoneCount) {
        fields.offsetSeconds =
            ZoneRowOffsetSeconds(row, boxes_.chkDST->checkState() != Qt::Unchecked);
        // A row used at a place whose zone the finder gave, as long as the coordinates are its.
        const SavedBirth now = birthFromFields();
        if (!knownZoneId_.isEmpty() && knownZoneFields_ &&
            SameCoordinates(now, *knownZoneFields_)) {
            if (const auto zone = ZoneHistory::ForZone(knownZoneId_);
                zone && birthDate().isValid()) {
                const LocalTimeReading reading = zone->ReadLocalTime(birthDate(), birthClock());
                if (reading.kind == LocalTimeReading::Kind::Unique) {
                    fields.placeKeptOffsetSeconds = reading.offset.offsetSeconds;
                }
            }
        }
    }
    return fields;
}

namespace {

// The smallest rectangle on the screen that holds every one of the boxes.
QRect OnScreen(std::initializer_list<const QWidget*> boxes) {
    QRect area;
    for (const QWidget* box : boxes) {
        area |= QRect(box->mapToGlobal(QPoint(0, 0)), box->size());
    }
    return area;
}

} // namespace

QRect frmMain::placeBoxesOnScreen() const {
    return OnScreen({boxes_.txtLonD, boxes_.txtLonM, boxes_.optLong_0, boxes_.optLong_1,
                     boxes_.txtLatD, boxes_.txtLatM, boxes_.optLat_0, boxes_.optLat_1,
                     boxes_.cmbTimeZone, boxes_.chkDST});
}

QRect frmMain::nameAndDateOnScreen() const {
    return OnScreen({boxes_.txtName, boxes_.cboMonth, boxes_.cboDate, boxes_.cboYear});
}

void frmMain::usePlace(const PlaceChoice& choice) {
    boxes_.txtLonD->setText(QString::number(choice.longitude.degrees));
    boxes_.txtLonM->setText(QString::number(choice.longitude.minutes));
    (choice.longitude.secondHemisphere ? boxes_.optLong_1 : boxes_.optLong_0)->setChecked(true);
    boxes_.txtLatD->setText(QString::number(choice.latitude.degrees));
    boxes_.txtLatM->setText(QString::number(choice.latitude.minutes));
    (choice.latitude.secondHemisphere ? boxes_.optLat_1 : boxes_.optLat_0)->setChecked(true);
    ownTime_->drop();
    if (choice.zoneKnown) {
        boxes_.cmbTimeZone->setCurrentIndex(choice.zonePosition);
        boxes_.chkDST->setChecked(choice.daylightSaving);
        if (choice.placeOwnTime) {
            ownTime_->show(choice.zoneId, birthDate(), birthClock());
        }
    }
    knownZoneId_ = choice.zoneKnown ? choice.zoneId : QByteArray();
    knownZoneFields_ = std::make_unique<SavedBirth>(birthFromFields());
}

void frmMain::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed(); // the owner shows the exit window
}

frmMain::~frmMain() = default;

SavedBirth frmMain::birthFromFields() const {
    const BirthFields entered = fields();
    SavedBirth birth = BirthToSave(entered);
    const QByteArray ownZone = ownTime_->chosenZone();
    if (!ownZone.isEmpty()) {
        // The place's own time is kept as its zone alone.
        birth.zoneRow.clear();
    }
    const auto samePlace = [](const SavedBirth& a, const SavedBirth& b) {
        return SameCoordinates(a, b) && a.zoneRow == b.zoneRow &&
               a.daylightSaving == b.daylightSaving;
    };
    if (!ownZone.isEmpty() ||
        (!knownZoneId_.isEmpty() && knownZoneFields_ && samePlace(birth, *knownZoneFields_))) {
        const QByteArray zoneId = ownZone.isEmpty() ? knownZoneId_ : ownZone;
        birth.ianaZone = QString::fromLatin1(zoneId);
        // The exact offset at the birth as the fields now give it.
        const QDate date = BirthDateOf(entered);
        if (const auto zone = ZoneHistory::ForZone(zoneId); zone && date.isValid()) {
            birth.offsetSeconds =
                zone->ReadLocalTime(date, BirthTimeOf(entered)).offset.offsetSeconds;
        }
    }
    return birth;
}

void frmMain::showStatus(const QString& text, int timeoutMs) {
    // Announced to screen readers as the status line's name changes.
    statusBar()->showMessage(text, timeoutMs);
    emit statusShown(text, timeoutMs);
    statusBar()->setAccessibleName(text);
    QAccessibleEvent announcement(statusBar(), QAccessible::NameChanged);
    QAccessible::updateAccessibility(&announcement);
}

void frmMain::mnuSaveBirth_Click() {
    if (!validateBirthData()) {
        return; // the same message and focus as the calculation's
    }
    if (births_->isSaving()) {
        return; // the save under way ends first
    }
    savingFields_ = std::make_unique<SavedBirth>(birthFromFields());
    births_->save(*savingFields_); // the fields stay as typed whatever the outcome
}

void frmMain::mnuOpenBirth_Click() {
    if (BirthLibrary* library = births_->library()) {
        emit openBirthsRequested(*library);
    }
}

void frmMain::useBirth(const SavedBirth& birth) {
    const SavedBirth fields = birthFromFields();
    if (fields != *emptyFields_ && (!lastFields_ || fields != *lastFields_) &&
        !AskYesNo(QStringLiteral("The fields hold a birth that has not been saved. Replace them "
                                 "with the saved birth of %1?")
                      .arg(birth.name),
                  this)) {
        return;
    }
    ownTime_->drop();
    WriteBirthFields(boxes_, birth);

    knownZoneId_ = birth.ianaZone.toLatin1();
    if (!birth.ianaZone.isEmpty() && boxes_.cmbTimeZone->findText(birth.zoneRow) < 0) {
        // Known by its zone alone: the row and box the place finder recommends for its date.
        Place place;
        place.name = birth.city;
        place.state = birth.state;
        place.country = birth.country;
        place.zoneId = knownZoneId_;
        const FinderRow row = MakeFinderRow(place, place.name, birthDate(), birthTime());
        if (row.choice.zoneKnown) {
            boxes_.cmbTimeZone->setCurrentIndex(row.choice.zonePosition);
            boxes_.chkDST->setChecked(row.choice.daylightSaving);
        }
        if (row.choice.placeOwnTime) {
            ownTime_->show(knownZoneId_, birthDate(), birthClock()); // the entry says it all
        } else if (!row.note.isEmpty()) {
            ShowMessage(MessageIcon::Information, row.note, this);
        }
    }
    knownZoneFields_ = std::make_unique<SavedBirth>(birthFromFields());
    lastFields_ = std::make_unique<SavedBirth>(*knownZoneFields_);
    births_->remember(birth);
}
