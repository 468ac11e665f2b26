#include "cli/ChartSvgFile.h"

#include "astro/Retrograde.h"
#include "charts/ChartCells.h"
#include "cli/OutputFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

#ifndef KORVANI_CHART_SVG_MODULE_FROM_BIN
#error "KORVANI_CHART_SVG_MODULE_FROM_BIN comes from the install folders in CMake"
#endif

QString ChartDrawingTitle(const ChartResult& result) {
    const std::string place = result.used.place ? result.used.place->name.toStdString() : "";
    return QString::fromStdString(
               BirthCaption(result.chart, result.used.name.toStdString(), place)) +
           QStringLiteral(" \u00B7 ") + CalculationLine(result);
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

std::optional<QString> WriteChartSvg(QIODevice& output, const ChartResult& result, ChartStyle style,
                                     ChartKind second) {
    const RetrogradeFlags retrograde = RetrogradeBodies(result.chart);
    const ChartSvgJob job{
        &output, ComputeChartContents(result.chart, ChartKind::Birth, retrograde),
        ComputeChartContents(result.chart, second, retrograde, result.settings.drekkana), style,
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

std::optional<QString> WriteChartSvgFile(const QString& path, const ChartResult& result,
                                         ChartStyle style, ChartKind second) {
    OutputFile file(path);
    if (!file.Open()) {
        return file.ErrorString();
    }
    if (auto problem = WriteChartSvg(file.Device(), result, style, second)) {
        file.Cancel();
        return problem;
    }
    if (!file.Commit()) {
        return file.ErrorString();
    }
    return std::nullopt;
}
