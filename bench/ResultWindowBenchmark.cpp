// From a click on Calculate to the result window shown and painted, over Calculate/Back cycles
// of the real windows, against a bare Qt window with the same widgets (a menu bar, a banner, ten
// tabs of twenty labels with a 40-pixel picture each, two buttons) created, shown, painted and
// deleted in the same run. Figures only: the median and p95 of each, in milliseconds, and the
// ratio of the medians.

#include "app/WindowController.h"
#include "bench/BenchFigures.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

// KORVANI_BENCH_CYCLES replaces it, for a short run under a profiler.
const int cycles = qEnvironmentVariableIsSet("KORVANI_BENCH_CYCLES")
                       ? qEnvironmentVariableIntValue("KORVANI_BENCH_CYCLES")
                       : 200;

// Notes the first paint of a window.
class PaintWatch : public QObject {
  public:
    bool painted = false;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        painted = painted || event->type() == QEvent::Paint;
        return false;
    }
};

// Runs the event loop until the window has been painted (or a few seconds have passed, when
// something is wrong; the figure then shows it).
void WaitForPaint(const PaintWatch& watch) {
    QElapsedTimer limit;
    limit.start();
    while (!watch.painted && limit.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

QWidget* TopLevel(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String(name) && widget->isVisible()) {
            return widget;
        }
    }
    return nullptr;
}

// The bare window: the result window's widgets with nothing of the program in them.
QMainWindow* BareWindow(const QPixmap& picture) {
    auto* window = new QMainWindow;
    QMenu* file = window->menuBar()->addMenu(QStringLiteral("&File"));
    for (const char* item : {"&Back", "&Copy Reading", "&Print…", "E&xit"}) {
        file->addAction(QString::fromUtf8(item));
    }
    QMenu* help = window->menuBar()->addMenu(QStringLiteral("&Help"));
    for (const char* item : {"&Online Help", "&Visit Us Online", "&About Software"}) {
        help->addAction(QString::fromUtf8(item));
    }
    auto* central = new QWidget(window);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(new QLabel(QStringLiteral("Banner: visit our web site"), central));
    auto* tabs = new QTabWidget(central);
    for (int tab = 0; tab < 10; ++tab) {
        auto* page = new QWidget;
        auto* pageLayout = new QVBoxLayout(page);
        auto* pictureLabel = new QLabel(page);
        pictureLabel->setPixmap(picture);
        pageLayout->addWidget(pictureLabel);
        for (int label = 0; label < 20; ++label) {
            pageLayout->addWidget(new QLabel(QStringLiteral("Label %1").arg(label), page));
        }
        tabs->addTab(page, QStringLiteral("Tab %1").arg(tab));
    }
    layout->addWidget(tabs, 1);
    layout->addWidget(new QPushButton(QStringLiteral("&Back"), central));
    layout->addWidget(new QPushButton(QStringLiteral("&Exit"), central));
    window->setCentralWidget(central);
    return window;
}

double Milliseconds(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

void CalculateToPaintedResult(benchmark::State& state) {
    SetMessageHandler([](MessageIcon, const QString&) {});
    WindowController controller;
    controller.start();
    QWidget* input = TopLevel("frmMain");
    const std::pair<const char*, const char*> entries[] = {{"txtName", "ASHA"},
                                                           {"txtLonD", "77"},
                                                           {"txtLonM", "13"},
                                                           {"txtLatD", "28"},
                                                           {"txtLatM", "39"}};
    for (const auto& [box, text] : entries) {
        input->findChild<QLineEdit*>(QLatin1String(box))->setText(QLatin1String(text));
    }
    auto* calculate = input->findChild<QPushButton*>(QStringLiteral("cmdRashi"));
    QPixmap picture(40, 40);
    picture.fill(Qt::darkBlue);

    std::vector<double> result;
    std::vector<double> bare;
    for (auto _ : state) {
        result.clear();
        bare.clear();
        for (int cycle = 0; cycle < cycles; ++cycle) {
            // The program: Calculate until the result window is painted, then Back (not timed).
            QElapsedTimer timer;
            timer.start();
            calculate->click();
            QWidget* display = TopLevel("frmDisplay");
            if (!display) {
                state.SkipWithError("no result window");
                return;
            }
            PaintWatch resultPaint;
            display->installEventFilter(&resultPaint);
            WaitForPaint(resultPaint);
            result.push_back(Milliseconds(timer));
            display->removeEventFilter(&resultPaint);
            display->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();

            // The bare window: created, shown, painted and deleted.
            timer.restart();
            QMainWindow* window = BareWindow(picture);
            PaintWatch barePaint;
            window->installEventFilter(&barePaint);
            window->show();
            WaitForPaint(barePaint);
            delete window;
            bare.push_back(Milliseconds(timer));
            QCoreApplication::processEvents();
        }
    }
    const double resultMedian = Percentile(result, 0.5);
    const double bareMedian = Percentile(bare, 0.5);
    state.counters["result_median_ms"] = resultMedian;
    state.counters["result_p95_ms"] = Percentile(result, 0.95);
    state.counters["bare_median_ms"] = bareMedian;
    state.counters["bare_p95_ms"] = Percentile(bare, 0.95);
    state.counters["median_ratio"] = resultMedian / bareMedian;
    SetMessageHandler({});
}

BENCHMARK(CalculateToPaintedResult)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
