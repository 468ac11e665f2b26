// The drawing module of korvani-chart: the only part of the command that uses Qt Gui.

#include "chartview/ChartPainter.h"
#include "cli/ChartSvgFile.h"

#include <QCoreApplication>
#include <QFileDevice>
#include <QGuiApplication>

#include <array>
#include <memory>

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

extern "C" Q_DECL_EXPORT bool KorvaniWriteChartSvgJob(const ChartSvgJob& job, QString& problem) {
    static_assert(std::is_same_v<decltype(&KorvaniWriteChartSvgJob), WriteChartSvgJobFunction>);
    const OffscreenApplication application;
    if (!WriteChartsSvg(*job.output, {&job.birth, &job.second}, job.style, SvgChartFont(),
                        job.title)) {
        const auto* file = qobject_cast<const QFileDevice*>(job.output);
        problem = file != nullptr && file->error() != QFileDevice::NoError
                      ? file->errorString()
                      : QStringLiteral("the drawing failed");
        return false;
    }
    return true;
}
