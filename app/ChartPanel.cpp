#include "app/ChartPanel.h"

#include "app/ChartView.h"
#include "ui/WindowParts.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

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
                           const QString& title) {
    picBirthChart->setContents(birth, title);
    picDecanateChart->setContents(decanate, title);
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
