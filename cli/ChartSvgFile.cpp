#include "cli/ChartSvgFile.h"

#include "charts/ChartCells.h"

#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

#ifndef KORVANI_CHART_SVG_MODULE_FROM_BIN
#error "KORVANI_CHART_SVG_MODULE_FROM_BIN comes from the install folders in CMake"
#endif

QString ChartDrawingTitle(const ChartResult& result) {
    const ChartInput& input = result.input;
    // The date alone: with the time, the title would not fit over the chart.
    const std::string date = DateText(input);
    std::string place;
    if (const auto& found = result.used.place) {
        // The state is left out: the title has one line over one chart's width.
        place = (found->name + QStringLiteral(", ") + found->country).toStdString();
    } else {
        place = LatitudeText(input) + ' ' + LongitudeText(input);
    }
    return QString::fromStdString(ChartTitle(result.used.name.toStdString(), date, place));
}

namespace {

// The module beside the running command (the build tree), then where the package puts it
// relative to the command.
QStringList ModuleCandidates() {
    const QString name = QStringLiteral("korvani-chart-svg.so");
    const QString program = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    if (program.isEmpty()) {
        return {};
    }
    const QString folder = QFileInfo(program).absolutePath();
    return {folder + u'/' + name,
            folder + QStringLiteral("/" KORVANI_CHART_SVG_MODULE_FROM_BIN "/") + name};
}

} // namespace

std::optional<QString> WriteChartSvgFile(const QString& path, const ChartResult& result,
                                         ChartStyle style) {
    const ChartSvgJob job{path, ComputeChartContents(result.chart, ChartKind::Birth),
                          ComputeChartContents(result.chart, ChartKind::Decanate), style,
                          ChartDrawingTitle(result)};
    QString loadProblem;
    for (const QString& candidate : ModuleCandidates()) {
        if (!QFileInfo::exists(candidate)) {
            continue;
        }
        // Never unloaded: Qt's plugins may still be held when the library would go.
        QLibrary module(candidate);
        module.setLoadHints(QLibrary::PreventUnloadHint);
        const auto write =
            reinterpret_cast<WriteChartSvgJobFunction>(module.resolve(writeChartSvgJobSymbol));
        if (write == nullptr) {
            loadProblem = module.errorString();
            continue;
        }
        QString problem;
        if (!write(job, problem)) {
            return problem;
        }
        return std::nullopt;
    }
    return QStringLiteral("the drawing module korvani-chart-svg.so could not be loaded%1")
        .arg(loadProblem.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(loadProblem));
}
