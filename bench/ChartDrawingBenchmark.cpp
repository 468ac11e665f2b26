// Figures for the chart diagrams: the cell contents of both charts, and laying out and painting
// both charts side by side on a 640 x 320 image and into an SVG. Runs offscreen unless
// QT_QPA_PLATFORM says otherwise.
#include "chartview/ChartPainter.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

ChartState SampleChart() {
    ChartState chart;
    const char* const positions[11] = {"28 Leo 10", "18 Tau 40", "02 Vir 11", "15 Can 00",
                                       "12 Ari 05", "07 Sag 30", "22 Cap 01", "11 Sco 12",
                                       "19 Sag 44", "25 Lib 10", "05 Leo 00"};
    for (std::size_t i = 0; i < 11; ++i) {
        chart.positionText[i] = positions[i];
    }
    return chart;
}

// The birth of 4 February 1962, 05:30 at New Delhi: eight bodies in Capricorn, its Ketu
// included (the positions korvani-chart prints for it).
ChartState CrowdedChart() {
    ChartState chart;
    const char* const positions[14] = {
        "21 Cap 22", "07 Cap 19", "24 Cap 46", "23 Cap 12", "08 Cap 16", "24 Cap 59", "10 Cap 27",
        "05 Leo 45", "20 Lib 07", "16 Leo 06", "23 Sag 08", "09 Lib 47", "23 Can 58", "23 Cap 58"};
    for (std::size_t i = 0; i < 14; ++i) {
        chart.positionText[i] = positions[i];
    }
    return chart;
}

void BM_ChartContents(benchmark::State& state) {
    const ChartState chart = SampleChart();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeChartContents(chart, ChartKind::Birth));
        benchmark::DoNotOptimize(ComputeChartContents(chart, ChartKind::Decanate));
    }
}
BENCHMARK(BM_ChartContents);

// The birth chart and the decanate chart of `chart` side by side, each `side` pixels square with
// a gap of 20 pixels, in the layout `state.range(0)`.
void PaintBothCharts(benchmark::State& state, const ChartState& chart, int side) {
    const auto style = static_cast<ChartStyle>(state.range(0));
    QImage image(2 * side + 40, side + 20, QImage::Format_ARGB32_Premultiplied);
    const QFont font = QGuiApplication::font();
    for (auto _ : state) {
        QPainter painter(&image);
        DrawChart(painter, QRectF(0, 0, side, side), ComputeChartContents(chart, ChartKind::Birth),
                  {style, 5, {}, {}}, LightChartPalette(), font);
        DrawChart(painter, QRectF(side + 20, 0, side, side),
                  ComputeChartContents(chart, ChartKind::Decanate), {style, 5, {}, {}},
                  LightChartPalette(), font);
    }
}

// Both charts at 300 x 300 pixels, as a panel beside the tabs would draw them.
void BM_PaintBothCharts(benchmark::State& state) {
    PaintBothCharts(state, SampleChart(), 300);
}
BENCHMARK(BM_PaintBothCharts)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The crowded birth's charts at the side the result window gives them on a 1280 x 720 screen.
void BM_PaintCrowdedCharts(benchmark::State& state) {
    PaintBothCharts(state, CrowdedChart(), 276);
}
BENCHMARK(BM_PaintCrowdedCharts)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Laying out the crowded birth chart alone, without painting: the fit of its labels.
void BM_LayOutCrowdedChart(benchmark::State& state) {
    const ChartContents contents = ComputeChartContents(CrowdedChart(), ChartKind::Birth);
    const auto style = static_cast<ChartStyle>(state.range(0));
    const QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
    const QFont font = QGuiApplication::font();
    for (auto _ : state) {
        benchmark::DoNotOptimize(LayOutChartDrawing(contents, {style, 5, {}, {}},
                                                    QRectF(0, 0, 276, 276), font, &device));
    }
}
BENCHMARK(BM_LayOutCrowdedChart)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_WriteChartsSvg(benchmark::State& state) {
    const ChartState chart = SampleChart();
    const ChartContents birth = ComputeChartContents(chart, ChartKind::Birth);
    const ChartContents decanate = ComputeChartContents(chart, ChartKind::Decanate);
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        WriteChartsSvg(buffer, {&birth, &decanate}, ChartStyle::SouthIndian, SvgChartFont(),
                       QStringLiteral("Ravi, 12 March 1980 14:30, Pune"));
        benchmark::DoNotOptimize(buffer.data().size());
    }
}
BENCHMARK(BM_WriteChartsSvg)->Unit(benchmark::kMicrosecond);

} // namespace
