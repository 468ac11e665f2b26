#include "app/ChartPanel.h"

#include "app/ChartView.h"
#include "ui/WindowParts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSettings>

namespace {

// The key the second chart's choice (d3 or d9) is kept under.
constexpr char secondChartKey[] = "display/secondChart";

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
    layout->setRowStretch(1, 1);

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
        showSecondChart();
    });
    styles->addWidget(cboSecondChart);
    layout->addLayout(styles, 2, 0, 1, 2);

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
    picBirthChart->setContents(birth, title);
    decanate_ = decanate;
    navamsa_ = navamsa;
    title_ = title;
    showSecondChart();
}

void ChartPanel::showSecondChart() {
    const ChartContents& second = cboSecondChart->currentIndex() == 1 ? navamsa_ : decanate_;
    picDecanateChart->setContents(second, title_);
    lblSecondChart->setText(QString::fromUtf8(ChartCaption(second.kind)));
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
