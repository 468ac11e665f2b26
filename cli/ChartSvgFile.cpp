#include "cli/ChartSvgFile.h"

#include "charts/ChartCells.h"
#include "chartview/ChartPainter.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSaveFile>

#include <array>
#include <memory>

QString ChartDrawingTitle(const ChartResult& result) {
    const ChartInput& input = result.input;
    // The date alone: with the time the title no longer fits over the chart.
    const QString date = QStringLiteral("%1-%2-%3")
                             .arg(input.year, 4, 10, QLatin1Char('0'))
                             .arg(input.monthPosition + 1, 2, 10, QLatin1Char('0'))
                             .arg(input.day, 2, 10, QLatin1Char('0'));
    QString place;
    if (const auto& found = result.used.place) {
        // The state is left out: the title has one line over one chart's width.
        place = found->name + QStringLiteral(", ") + found->country;
    } else {
        place = QStringLiteral("%1:%2%3 %4:%5%6")
                    .arg(input.latitudeDegrees, 2, 10, QLatin1Char('0'))
                    .arg(input.latitudeMinutes, 2, 10, QLatin1Char('0'))
                    .arg(QChar(input.south ? u'S' : u'N'))
                    .arg(input.longitudeDegrees, 3, 10, QLatin1Char('0'))
                    .arg(input.longitudeMinutes, 2, 10, QLatin1Char('0'))
                    .arg(QChar(input.east ? u'E' : u'W'));
    }
    return QString::fromStdString(
        ChartTitle(result.used.name.toStdString(), date.toStdString(), place.toStdString()));
}

namespace {

// An offscreen application for the fonts, when the process has none: the command needs no
// display. "-platform" on its own command line wins over QT_QPA_PLATFORM.
class OffscreenApplication {
  public:
    OffscreenApplication() {
        if (QCoreApplication::instance() == nullptr) {
            application_ = std::make_unique<QGuiApplication>(argc_, arguments_.data());
        }
    }

  private:
    // QGuiApplication keeps the count and the arguments for its lifetime, and may change them.
    char programName_[14] = "korvani-chart";
    char platformOption_[10] = "-platform";
    char platformName_[10] = "offscreen";
    int argc_ = 3;
    std::array<char*, 4> arguments_ = {programName_, platformOption_, platformName_, nullptr};
    std::unique_ptr<QGuiApplication> application_;
};

} // namespace

std::optional<QString> WriteChartSvgFile(const QString& path, const ChartResult& result,
                                         ChartStyle style) {
    const OffscreenApplication application;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    const bool drawn = WriteChartsSvg(file, ComputeChartContents(result.chart, ChartKind::Birth),
                                      ComputeChartContents(result.chart, ChartKind::Decanate),
                                      style, ChartDrawingTitle(result));
    if (!drawn) {
        file.cancelWriting();
        return file.error() != QFileDevice::NoError ? file.errorString()
                                                    : QStringLiteral("the drawing failed");
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}
