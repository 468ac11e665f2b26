#include "app/ChartPanel.h"

#include "app/ChartView.h"
#include "chartview/ChartPainter.h"
#include "ui/Appearance.h"
#include "ui/WindowParts.h"

#include <QAction>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QRadioButton>
#include <QSettings>

namespace {

// The key the second chart's choice (d3 or d9) is kept under.
constexpr char secondChartKey[] = "display/secondChart";
// The key the choice to draw Uranus, Neptune and Pluto is kept under; drawn unless stored false.
constexpr char outerPlanetsKey[] = "display/outerPlanets";

} // namespace

ChartPanel::ChartPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("fraCharts"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    picBirthChart = new ChartView(ChartKind::Birth, this);
    picDecanateChart = new ChartView(ChartKind::Decanate, this);
    int column = 0;
    for (ChartView* chart : {picBirthChart, picDecanateChart}) {
        const ChartKind kind = chart->contents().kind;
        QLabel* caption =
            MakePlainLabel(this,
                           kind == ChartKind::Birth ? QStringLiteral("lblBirthChart")
                                                    : QStringLiteral("lblDecanateChart"),
                           QString::fromUtf8(ChartCaption(kind)), true);
        caption->setBuddy(chart);
        if (chart == picDecanateChart) {
            lblSecondChart = caption;
        }
        layout->addWidget(caption, 0, column);
        layout->addWidget(chart, 1, column);
        connect(chart, &ChartView::bodyClicked, this, [this](int body) {
            if (body >= 0 && body < displayedBodyCount) {
                emit bodyClicked(body);
            }
        });
        chart->setHighlightedBody(0);
        ++column;
    }

    auto* styles = new QHBoxLayout;
    auto* group = new QButtonGroup(this);
    const char* const styleCaptions[] = {"&South Indian", "&North Indian"};
    for (int option = 0; option < 2; ++option) {
        auto* button = new QRadioButton(QString::fromUtf8(styleCaptions[option]), this);
        button->setObjectName(QStringLiteral("optChartStyle_%1").arg(option));
        group->addButton(button, option);
        styles->addWidget(button);
        optChartStyle[static_cast<std::size_t>(option)] = button;
    }
    styles->addStretch();
    // The second diagram: the decanate chart (the default) or the Navamsa, remembered.
    cboSecondChart = new QComboBox(this);
    cboSecondChart->setObjectName(QStringLiteral("cboSecondChart"));
    for (const ChartKind kind : {ChartKind::Decanate, ChartKind::Navamsa}) {
        cboSecondChart->addItem(QString::fromUtf8(ChartCaption(kind)));
    }
    cboSecondChart->setCurrentIndex(
        QSettings().value(QLatin1String(secondChartKey)).toString() == QLatin1String("d9") ? 1 : 0);
    connect(cboSecondChart, &QComboBox::currentIndexChanged, this, [this](int index) {
        QSettings().setValue(QLatin1String(secondChartKey),
                             index == 1 ? QStringLiteral("d9") : QStringLiteral("d3"));
        showCharts();
    });
    styles->addWidget(cboSecondChart);
    layout->addLayout(styles, 2, 0, 1, 2);
    // Height the charts do not take goes below the choices, not under the charts.
    layout->setRowStretch(3, 1);
    OutlineIndicators({optChartStyle[0], optChartStyle[1]}, this);

    auto* copy = new QAction(QStringLiteral("&Copy Chart"), this);
    copy->setObjectName(QStringLiteral("mnuCopyChart"));
    connect(copy, &QAction::triggered, this, &ChartPanel::copyCharts);
    mnuShowOuterPlanets = new QAction(QStringLiteral("Show &Uranus, Neptune and Pluto"), this);
    mnuShowOuterPlanets->setObjectName(QStringLiteral("mnuShowOuterPlanets"));
    mnuShowOuterPlanets->setCheckable(true);
    mnuShowOuterPlanets->setChecked(
        QSettings().value(QLatin1String(outerPlanetsKey), true).toBool());
    connect(mnuShowOuterPlanets, &QAction::toggled, this, [this](bool shown) {
        QSettings().setValue(QLatin1String(outerPlanetsKey), shown);
        showCharts();
    });
    for (ChartView* chart : {picBirthChart, picDecanateChart}) {
        chart->setMenuActions({copy, mnuShowOuterPlanets});
    }

    useChartStyle(StoredChartStyle());
    connect(group, &QButtonGroup::idClicked, this, [this](int option) {
        const ChartStyle style = option == 1 ? ChartStyle::NorthIndian : ChartStyle::SouthIndian;
        useChartStyle(style);
        StoreChartStyle(style);
    });
}

void ChartPanel::useChartStyle(ChartStyle style) {
    optChartStyle[style == ChartStyle::NorthIndian ? 1 : 0]->setChecked(true);
    picBirthChart->setChartStyle(style);
    picDecanateChart->setChartStyle(style);
}

void ChartPanel::setCharts(const ChartContents& birth, const ChartContents& decanate,
                           const ChartContents& navamsa, const QString& title) {
    birth_ = birth;
    decanate_ = decanate;
    navamsa_ = navamsa;
    title_ = title;
    showCharts();
}

void ChartPanel::showCharts() {
    const bool outerPlanets = mnuShowOuterPlanets->isChecked();
    const auto shown = [outerPlanets](const ChartContents& chart) {
        return outerPlanets ? chart : WithoutOuterPlanets(chart);
    };
    picBirthChart->setContents(shown(birth_), title_);
    const ChartContents& second = cboSecondChart->currentIndex() == 1 ? navamsa_ : decanate_;
    picDecanateChart->setContents(shown(second), title_);
    lblSecondChart->setText(QString::fromUtf8(ChartCaption(second.kind)));
}

void ChartPanel::copyCharts() {
    const PrintedCharts shown = charts();
    const Reading text{shown.title, {}, {ChartPart(shown.birth), ChartPart(shown.decanate)}, {}};
    auto* data = new QMimeData;
    data->setText(ReadingText(text));
    data->setData(QStringLiteral("image/png"),
                  ChartsPng({&shown.birth, &shown.decanate}, shown.style, font(), shown.title));
    QGuiApplication::clipboard()->setMimeData(data); // the clipboard takes it over
    emit chartsCopied();
}

void ChartPanel::setFileStem(const QString& stem) {
    picBirthChart->setFileStem(stem);
    picDecanateChart->setFileStem(stem);
}

void ChartPanel::setHighlightedBody(int body) {
    picBirthChart->setHighlightedBody(body);
    picDecanateChart->setHighlightedBody(body);
}

PrintedCharts ChartPanel::charts() const {
    return {picBirthChart->contents(), picDecanateChart->contents(), picBirthChart->chartStyle(),
            picBirthChart->title()};
}

const QString& ChartPanel::fileStem() const {
    return picBirthChart->fileStem();
}
