#include "app/frmDisplay.h"

#include "app/ChartPanel.h"
#include "app/ImageList.h"
#include "app/ScreenReaderNames.h"
#include "chartview/ChartPainter.h"
#include "links/modHelp.h"
#include "ui/Appearance.h"
#include "ui/ClickableLabel.h"
#include "ui/DisplayFonts.h"
#include "ui/Keyboard.h"
#include "ui/WindowParts.h"
#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The key the Show Charts choice is kept under.
constexpr char showChartsKey[] = "display/showCharts";

// Width of the description paragraph in logical pixels; its height is made to fit the longest
// paragraph at this width, so a wider window only leaves spare room.
constexpr int descriptionWidth = 400;
constexpr int picturePixels = 40;
// How long a confirmation stays in the status line.
constexpr int statusNoteMilliseconds = 6000;

// The caption of a tab's field i, the same the reading uses.
QString FieldCaption(std::size_t field) {
    return QString::fromLatin1(readingFieldCaptions[field]);
}

QString arrayName(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

// A tab's fields before a chart is written into them: object name and text, in caption order.
struct FieldLabel {
    const char* name;
    const char* placeholder;
};
constexpr std::array<FieldLabel, readingFieldCaptions.size()> fieldLabels = {{
    {"lblPosition", "00 Ari 00"},
    {"lblDecanateName", "(decanate)"},
    {"lblDecanateSign", "(sign)"},
    {"lblRulingPlanet", "(ruler)"},
    {"lblRulingElement", "(element)"},
    {"lblConstellationName", "(constellation)"},
    {"lblKeyword", "(keyword)"},
    {"lblTreeZodiac", "(tree)"},
    {"lblDecanateSignDesc", "(description)"},
}};
constexpr std::size_t positionField = 0;
constexpr std::size_t descriptionField = 8;

// The longest description of the decanate tables, the one the description label must hold;
// found once for the whole run.
const QString& longestDescription() {
    static const QString longest = [] {
        QString found;
        for (const auto& table : decanateTables) {
            for (const DecanateRow& row : table) {
                const QString text = QString::fromUtf8(row.description);
                if (text.size() > found.size()) {
                    found = text;
                }
            }
        }
        return found;
    }();
    return longest;
}

// A body's page that gives the sizes measured on an earlier window, when there are some: the
// tab widget asks every page for its size, and measuring a page means laying out its texts.
class BodyPage : public QWidget {
  public:
    explicit BodyPage(const ResultPageMeasures* measures) : measures_(measures) {}

    QSize sizeHint() const override {
        return measured() ? measures_->sizeHint : QWidget::sizeHint();
    }
    QSize minimumSizeHint() const override {
        return measured() ? measures_->minimumSize : QWidget::minimumSizeHint();
    }
    bool hasHeightForWidth() const override { return !measured() && QWidget::hasHeightForWidth(); }

  private:
    bool measured() const { return measures_ && measures_->sizeHint.isValid(); }

    const ResultPageMeasures* measures_;
};

} // namespace

frmDisplay::frmDisplay(QWidget* parent, const ResultPageMeasures* measures)
    : QMainWindow(parent), measures_(measures) {
    setObjectName(QStringLiteral("frmDisplay"));
    setWindowTitle(programTitle);
    // Unloading deletes the window; the next calculation loads a fresh one.
    setAttribute(Qt::WA_DeleteOnClose);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(createBanner());
    // Whose chart this is: written with the results.
    lblChartHeader = MakePlainLabel(central, QStringLiteral("lblChartHeader"), QString(), true);
    lblChartHeader->setWordWrap(true);
    lblChartHeader->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // What the chart was calculated with, in a line of its own under whose chart it is.
    lblCalculation = MakePlainLabel(central, QStringLiteral("lblCalculation"), QString());
    lblCalculation->setWordWrap(true);
    lblCalculation->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* headerLines = new QVBoxLayout;
    headerLines->addWidget(lblChartHeader);
    headerLines->addWidget(lblCalculation);
    auto* headerRow = new QHBoxLayout;
    headerRow->addLayout(headerLines, 1);
    chkShowCharts = new QCheckBox(QStringLiteral("Show &Charts"), central);
    chkShowCharts->setObjectName(QStringLiteral("chkShowCharts"));
    // Shown unless the user last unticked it; a fold on a small screen is not remembered.
    chkShowCharts->setChecked(QSettings().value(QLatin1String(showChartsKey), true).toBool());
    connect(chkShowCharts, &QCheckBox::clicked, this,
            [](bool shown) { QSettings().setValue(QLatin1String(showChartsKey), shown); });
    OutlineIndicators({chkShowCharts}, this);
    headerRow->addWidget(chkShowCharts, 0, Qt::AlignTop);
    layout->addLayout(headerRow);
    // The tabs and, beside them, the chart diagrams.
    auto* resultRow = new QHBoxLayout;
    resultRow->addWidget(createTabs(), 1);
    resultRow->addWidget(createChartPanel());
    layout->addLayout(resultRow, 1);
    layout->addWidget(createCommandStrip());
    setCentralWidget(central);
    // The status line confirms Copy Reading; it never takes the focus, and its text is its
    // accessible name, so that a screen reader hears the change.
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setTextFormat(Qt::PlainText);
    lblStatus->setFocusPolicy(Qt::NoFocus);
    lblStatus->setContentsMargins(6, 0, 6, 0);
    statusBar()->setObjectName(QStringLiteral("staStatus"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(lblStatus, 1);
    statusClearing = new QTimer(this);
    statusClearing->setSingleShot(true);
    connect(statusClearing, &QTimer::timeout, lblStatus, &QLabel::clear);
    createMenus();
    arrangeTabOrder();
    PressFocusedButtonOnEnter(this);
    ApplyAccessibleNames(*this, ScreenReaderNamesOfResultWindow());
}

QWidget* frmDisplay::createBanner() {
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("fraBanner"));
    frame->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QHBoxLayout(frame);
    layout->addWidget(MakeOfferLabel(frame, Offer::Banner, 9));
    return frame;
}

QWidget* frmDisplay::createTabs() {
    auto* tabsWidget = new QTabWidget(this);
    SSTab1 = tabsWidget;
    tabsWidget->setObjectName(QStringLiteral("SSTab1"));
    tabsWidget->setUsesScrollButtons(false);
    for (int body = 0; body < displayedBodyCount; ++body) {
        tabsWidget->addTab(createBodyTab(body), QString::fromLatin1(bodyNames[body]));
    }
    connect(tabsWidget, &QTabWidget::currentChanged, this, [this](int body) {
        // The selected tab's body stands out in both charts.
        if (fraCharts) {
            fraCharts->setHighlightedBody(body);
        }
        if (body >= 0 && body < displayedBodyCount) {
            for (QLabel* value : tabs_[static_cast<std::size_t>(body)].fields) {
                value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            }
        }
    });
    return tabsWidget;
}

QWidget* frmDisplay::createBodyTab(int body) {
    auto* page = new BodyPage(measures_);
    pages_[static_cast<std::size_t>(body)] = page;
    page->setObjectName(arrayName("tabBody", body));
    auto* pageLayout = new QVBoxLayout(page);

    auto* frame = new QFrame(page);
    frame->setObjectName(arrayName("Frame3", body));
    frame->setFrameShape(QFrame::StyledPanel);
    pageLayout->addWidget(frame);
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(12);
    grid->setColumnStretch(1, 1);

    BodyTab& tab = tabs_[static_cast<std::size_t>(body)];
    tab.picPlanet = new QLabel(frame);
    tab.picPlanet->setObjectName(arrayName("picPlanet", body));
    tab.picPlanet->setFixedSize(picturePixels, picturePixels);
    tab.picPlanet->setAlignment(Qt::AlignCenter);
    grid->addWidget(tab.picPlanet, 0, 2, 3, 1, Qt::AlignTop | Qt::AlignRight);

    int row = 0;
    const auto addRow = [&](const char* captionName, const QString& caption, QLabel* value) {
        auto* captionLabel = MakePlainLabel(frame, arrayName(captionName, body), caption, true);
        // One-line values sit level with their captions; the paragraph hangs from its caption.
        const Qt::Alignment vertical = value->wordWrap() ? Qt::AlignTop : Qt::AlignVCenter;
        grid->addWidget(captionLabel, row, 0, vertical | Qt::AlignLeft);
        // The value column runs under the picture except on the rows beside it.
        grid->addWidget(value, row, 1, 1, row < 3 ? 1 : 2);
        ++row;
    };
    const auto valueLabel = [&](const char* name, const QString& placeholder) {
        QLabel* label = MakePlainLabel(frame, arrayName(name, body), placeholder);
        // Selectable with the mouse (Ctrl+C copies a selection) once its tab is first shown: a
        // selectable label keeps a text document, which takes long to make for every tab.
        if (body == 0) {
            label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        }
        return label;
    };

    // Only Jupiter's name is a link (to the co-brand page); the others are plain captions.
    const QString bodyName = QString::fromLatin1(bodyNames[body]);
    QLabel* nameLabel = nullptr;
    if (body == 5) {
        auto* link = new ClickableLabel(bodyName, frame);
        link->setObjectName(QStringLiteral("Label19"));
        link->setTextFormat(Qt::PlainText);
        connect(link, &ClickableLabel::clicked, this, [] { openWebPage(WebPage::CoBrand); });
        nameLabel = link;
    } else {
        nameLabel = new QLabel(bodyName, frame);
        nameLabel->setObjectName(arrayName("lblBodyName", body));
        nameLabel->setTextFormat(Qt::PlainText);
    }
    nameLabel->setFont(LabelFont(10, true));
    addRow("lblPlanetNameCaption", QStringLiteral("Planet Name"), nameLabel);

    BodyReading& shown = bodies_[static_cast<std::size_t>(body)];
    shown.bodyName = bodyName;
    for (std::size_t field = 0; field < fieldLabels.size(); ++field) {
        shown.values[field] = QString::fromLatin1(fieldLabels[field].placeholder);
        const QString name = QString::fromLatin1(fieldLabels[field].name);
        QLabel* value = nullptr;
        if (field == descriptionField) {
            // The description wraps; it is given the height of the longest paragraph at its
            // narrowest.
            value = valueLabel(fieldLabels[field].name, longestDescription());
            value->setWordWrap(true);
            value->setAlignment(Qt::AlignTop | Qt::AlignLeft);
            value->setMinimumWidth(descriptionWidth);
            if (descriptionHeight_ == 0) {
                descriptionHeight_ = measures_ && measures_->descriptionHeight > 0
                                         ? measures_->descriptionHeight
                                         : value->heightForWidth(descriptionWidth);
            }
            value->setMinimumHeight(descriptionHeight_);
            value->setText(shown.values[field]);
        } else {
            value = valueLabel(fieldLabels[field].name, shown.values[field]);
        }
        tab.fields[field] = value;
        addRow((name + QStringLiteral("Caption")).toLatin1().constData(), FieldCaption(field),
               value);
    }
    // One quiet line: the body's drekkana sign under every scheme, the chosen one marked.
    tab.drekkana = MakePlainLabel(frame, arrayName("lblDrekkana", body), QString());
    ShowAsQuiet(tab.drekkana);
    // Not wrapped: a wrapped label measures taller than its one line, and the page sizes that
    // later result windows take from the first would then differ from its own.
    grid->addWidget(tab.drekkana, row++, 0, 1, 3);
    grid->setRowStretch(row, 1);
    return page;
}

QWidget* frmDisplay::createChartPanel() {
    fraCharts = new ChartPanel(this);
    // A click on a body's label selects its tab.
    connect(fraCharts, &ChartPanel::bodyClicked, SSTab1, &QTabWidget::setCurrentIndex);
    connect(fraCharts, &ChartPanel::chartsCopied, this, [this] {
        showStatus(QStringLiteral("Charts copied to the clipboard."), statusNoteMilliseconds);
    });
    connect(chkShowCharts, &QCheckBox::toggled, this, [this](bool shown) {
        fraCharts->setVisible(shown);
        if (isVisible()) {
            // The window takes the room the panel needs, or gives back what it left.
            const QRect margins = FrameMargins(this);
            takeWantedSize(screen()->availableGeometry(), QSize(margins.left() + margins.right(),
                                                                margins.top() + margins.bottom()));
            // Grown, it moves back onto the screen only where it would reach past an edge: a
            // window that fits stays exactly where it stands, so that unticking and ticking
            // again brings it back to the place it had.
            const QRect grown(
                frameGeometry().topLeft(),
                size() + QSize(margins.left() + margins.right(), margins.top() + margins.bottom()));
            if (shown && !screen()->availableGeometry().contains(grown)) {
                PlaceWindow(this, frameGeometry().topLeft(), screen(), margins);
            }
        }
    });
    fraCharts->setVisible(chkShowCharts->isChecked());
    return fraCharts;
}

void frmDisplay::setCharts(const ChartContents& birth, const ChartContents& decanate,
                           const ChartContents& navamsa, const QString& title) {
    fraCharts->setCharts(birth, decanate, navamsa, title);
}

void frmDisplay::foldChartsToFit(const QRect& available, const QSize& frameExtra) {
    const QSize frame = sizeHint().expandedTo(minimumSizeHint()) + frameExtra;
    if (chkShowCharts->isChecked() &&
        (frame.width() > available.width() || frame.height() > available.height())) {
        // The window then opens as it would without the charts, within the area.
        chkShowCharts->setChecked(false);
    }
    takeWantedSize(available, frameExtra);
}

void frmDisplay::takeWantedSize(const QRect& available, const QSize& frameExtra) {
    // The layout first takes in a panel just shown or hidden.
    centralWidget()->layout()->activate();
    layout()->activate();
    // adjustSize would stop at two thirds of the screen, and the charts would come out small.
    resize(sizeHint()
               .expandedTo(minimumSizeHint())
               .boundedTo(available.size() - frameExtra)
               .expandedTo(minimumSizeHint()));
}

QWidget* frmDisplay::createCommandStrip() {
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("fraCommands"));
    frame->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QHBoxLayout(frame);

    auto* offers = new QVBoxLayout;
    offers->addWidget(MakeOfferLabel(frame, Offer::FullBrand, 9));
    offers->addWidget(MakeOfferLabel(frame, Offer::CoBrand, 9));
    layout->addLayout(offers, 1);

    auto* buttons = new QVBoxLayout;
    auto* back = new QPushButton(QStringLiteral("&Back"), frame);
    back->setObjectName(QStringLiteral("cmdOK"));
    connect(back, &QPushButton::clicked, this, &frmDisplay::cmdOK_Click);
    auto* exitButton = new QPushButton(QStringLiteral("&Exit"), frame);
    exitButton->setObjectName(QStringLiteral("cmdExit"));
    connect(exitButton, &QPushButton::clicked, this, &frmDisplay::cmdExit_Click);
    buttons->addWidget(back);
    buttons->addWidget(exitButton);
    buttons->addStretch();
    layout->addLayout(buttons);
    return frame;
}

void frmDisplay::createMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = AddFileMenu(bar);
    QAction* back = file->addAction(QStringLiteral("&Back"));
    back->setObjectName(QStringLiteral("mnuFileBack"));
    connect(back, &QAction::triggered, this, &frmDisplay::mnuFileBack_Click);
    file->addSeparator()->setObjectName(QStringLiteral("mnuBirthsSep1"));
    QAction* saveBirth = file->addAction(QStringLiteral("&Save Birth"));
    saveBirth->setObjectName(QStringLiteral("mnuSaveBirth"));
    saveBirth->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(saveBirth, &QAction::triggered, this, &frmDisplay::saveBirthRequested);
    file->addSeparator()->setObjectName(QStringLiteral("mnuReadingSep1"));
    QAction* copy = file->addAction(QStringLiteral("&Copy Reading"));
    copy->setObjectName(QStringLiteral("mnuCopyReading"));
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    connect(copy, &QAction::triggered, this, &frmDisplay::mnuCopyReading_Click);
    QAction* print = file->addAction(QStringLiteral("&Print…"));
    print->setObjectName(QStringLiteral("mnuPrint"));
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(print, &QAction::triggered, this, &frmDisplay::mnuPrint_Click);
    file->addSeparator()->setObjectName(QStringLiteral("mnuReadingSep2"));
    QAction* exitItem = AddExitItem(file);
    connect(exitItem, &QAction::triggered, this, &frmDisplay::mnuExit_Click);

    connect(AddToolsMenu(bar), &QAction::triggered, this, &frmDisplay::settingsRequested);
    QAction* about = AddHelpAndOfferMenus(
        bar, {QStringLiteral("&Check for Software Update"), "mnuFileSep1", "mnuFileSep2"});
    connect(about, &QAction::triggered, this, &frmDisplay::aboutRequested);
}

void frmDisplay::arrangeTabOrder() {
    // Reading order: the banner, the tabs, the one link on a tab, the offers, the buttons.
    const char* const order[] = {"Label61",         "chkShowCharts",   "SSTab1",       "Label19",
                                 "optChartStyle_0", "optChartStyle_1", "lblFullBrand", "lblCobrand",
                                 "cmdOK",           "cmdExit"};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(findChild<QWidget*>(QLatin1String(order[i - 1])),
                             findChild<QWidget*>(QLatin1String(order[i])));
    }
}

ResultPageMeasures frmDisplay::pageMeasures() const {
    ResultPageMeasures measures;
    measures.descriptionHeight = descriptionHeight_;
    measures.font = QApplication::font();
    for (const QWidget* page : pages_) {
        measures.sizeHint = measures.sizeHint.expandedTo(page->layout()->totalSizeHint());
        measures.minimumSize = measures.minimumSize.expandedTo(page->layout()->totalMinimumSize());
    }
    return measures;
}

void frmDisplay::setChartHeader(const QString& text) {
    header_ = text;
    lblChartHeader->setText(text);
}

void frmDisplay::setCalculationText(const QString& text) {
    calculation_ = text;
    lblCalculation->setText(text);
}

void frmDisplay::setDrekkanaLine(int body, const QString& text) {
    if (body >= 0 && body < displayedBodyCount) {
        tabs_[static_cast<std::size_t>(body)].drekkana->setText(text);
    }
}

Reading frmDisplay::reading() const {
    Reading reading;
    reading.header = header_;
    reading.calculation = calculation_;
    const PrintedCharts charts = fraCharts->charts();
    for (const ChartContents* chart : {&charts.birth, &charts.decanate}) {
        reading.charts.push_back(ChartPart(*chart));
    }
    reading.bodies.assign(bodies_.begin(), bodies_.end());
    return reading;
}

void frmDisplay::mnuCopyReading_Click() {
    Reading shown = reading();
    const PrintedCharts charts = fraCharts->charts();
    const auto pngOf = [this, &charts](const ChartList& list) {
        return ChartsPng(list, charts.style, font(), charts.title);
    };
    const ChartContents& birth = charts.birth;
    const ChartContents& decanate = charts.decanate;
    shown.charts[0].png = pngOf({&birth});
    shown.charts[1].png = pngOf({&decanate});
    auto* data = new QMimeData;
    data->setText(ReadingText(shown));
    data->setHtml(ReadingHtml(shown));
    data->setData(QStringLiteral("image/png"), pngOf({&birth, &decanate}));
    QGuiApplication::clipboard()->setMimeData(data); // the clipboard takes it over
    // Said in the status line; the keyboard stays where it was.
    showStatus(QStringLiteral("Reading copied to the clipboard."), statusNoteMilliseconds);
}

void frmDisplay::setPrintName(const QString& stem) {
    fraCharts->setFileStem(stem);
}

void frmDisplay::mnuPrint_Click() {
    QPrinter printer;
    // The dialog offers the document's name as the PDF file's name.
    printer.setDocName(fraCharts->fileStem());
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(programTitle);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const PrintedCharts charts = fraCharts->charts();
    PrintReading(reading(), printer, &charts);
}

void frmDisplay::showField(int body, std::size_t field, const QString& text) {
    bodies_[static_cast<std::size_t>(body)].values[field] = text;
    tabs_[static_cast<std::size_t>(body)].fields[field]->setText(text);
}

void frmDisplay::setPositionCaption(int body, const QString& text) {
    if (body < 0 || body >= displayedBodyCount) {
        return;
    }
    showField(body, positionField, text);
}

void frmDisplay::setBodyPicture(int body, const QPixmap& picture) {
    if (body < 0 || body >= displayedBodyCount) {
        return;
    }
    ShowInTextColour(tabs_[static_cast<std::size_t>(body)].picPlanet, picture);
}

void frmDisplay::setDecanateCaptions(int body, const DecanateResult& result) {
    if (body < 0 || body >= displayedBodyCount) {
        return;
    }
    // In caption order, after the position.
    const std::string* const texts[] = {&result.decanateName,      &result.decanateSign,
                                        &result.rulingPlanet,      &result.rulingElement,
                                        &result.constellationName, &result.keyword,
                                        &result.treeZodiac,        &result.description};
    for (std::size_t field = positionField + 1; field < fieldLabels.size(); ++field) {
        showField(body, field, QString::fromStdString(*texts[field - positionField - 1]));
    }
}

void frmDisplay::closeEvent(QCloseEvent* event) {
    // Form_Unload: the owner shows the exit window; the window is then deleted, and the next
    // calculation loads a fresh one.
    event->accept();
    emit unloaded();
}

void frmDisplay::cmdOK_Click() {
    goingBack_ = true;
    close(); // the unload shows the exit window; going back hides it again
    emit backRequested();
}

void frmDisplay::cmdExit_Click() {
    close();
}

void frmDisplay::mnuFileBack_Click() {
    cmdOK_Click();
}

void frmDisplay::mnuExit_Click() {
    cmdExit_Click();
}

void fillDecanates(const ChartState& chart, DecanateResults& decanateResults, frmDisplay& window,
                   const ImageList* pictures) {
    DetermineDecanates(chart, decanateResults);
    for (int body = 0; body < displayedBodyCount; ++body) {
        // A picture that cannot be had skips only the picture; the texts are still written.
        if (pictures) {
            const QPixmap picture = pictures->picture(body + 1);
            if (!picture.isNull()) {
                window.setBodyPicture(body, picture);
            }
        }
        window.setDecanateCaptions(body, decanateResults[static_cast<std::size_t>(body)]);
    }
}

void frmDisplay::showStatus(const QString& text, int timeoutMs) {
    lblStatus->setText(text);
    if (timeoutMs > 0) {
        statusClearing->start(timeoutMs);
    } else {
        statusClearing->stop();
    }
}
