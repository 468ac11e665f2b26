#pragma once

// The four windows of the program, built as the user meets them. For the app tests, which link
// the whole program.

#include "app/ImageList.h"
#include "app/frmAbout.h"
#include "app/frmDisplay.h"
#include "app/frmMain.h"
#include "app/frmPlaceFinder.h"
#include "astro/ChartCalculation.h"
#include "chart/ChartInput.h"
#include "promo/frmExit.h"
#include "support/Births.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>

enum class ProgramWindow { Input, Result, About, Exit, PlaceFinder };

inline std::string ProgramWindowName(ProgramWindow window) {
    switch (window) {
    case ProgramWindow::Input:
        return "frmMain";
    case ProgramWindow::Result:
        return "frmDisplay";
    case ProgramWindow::About:
        return "frmAbout";
    case ProgramWindow::Exit:
        return "frmExit";
    case ProgramWindow::PlaceFinder:
        return "frmPlaceFinder";
    }
    return "unknown";
}

inline constexpr ProgramWindow everyProgramWindow[] = {ProgramWindow::Input, ProgramWindow::Result,
                                                       ProgramWindow::About, ProgramWindow::Exit,
                                                       ProgramWindow::PlaceFinder};

// The window, not yet shown. The result window holds the New Delhi chart of 1990: every tab's
// position, texts and picture, with the pictures drawn as the input window draws them.
inline std::unique_ptr<QWidget> BuildProgramWindow(ProgramWindow which) {
    switch (which) {
    case ProgramWindow::Input:
        return std::make_unique<frmMain>();
    case ProgramWindow::Result: {
        auto display = std::make_unique<frmDisplay>();
        ChartState chart;
        LoadChartInput(chart, DelhiBirth());
        CalculateChart(chart);
        for (int body = 0; body < displayedBodyCount; ++body) {
            display->setPositionCaption(
                body, QString::fromStdString(chart.positionText[static_cast<std::size_t>(body)]));
        }
        std::unique_ptr<ImageList> pictures(ImageList::bodyPictures(nullptr));
        DecanateResults results{};
        fillDecanates(chart, results, *display, pictures.get());
        return display;
    }
    case ProgramWindow::About:
        return std::make_unique<frmAbout>();
    case ProgramWindow::Exit:
        return std::make_unique<frmExit>();
    case ProgramWindow::PlaceFinder: {
        // Two places matching "New" (one inexact on that date), read and listed.
        auto finder =
            std::make_unique<frmPlaceFinder>(std::make_shared<ListPlaceSource>(QList<Place>{
                {"New Delhi", "Delhi", "India", "IN", "Asia/Kolkata", 28.65, 77.2167, 317797},
                {"New Kathmandu", "Central Region", "Nepal", "NP", "Asia/Kathmandu", 27.7, 85.32,
                 1000}}));
        finder->showRequest({QStringLiteral("New Delhi India Latitude Longitude"),
                             {QStringLiteral("New"), QString(), QString(), QString()},
                             QDate(1990, 1, 1),
                             QTime(12, 0)});
        EXPECT_TRUE(QTest::qWaitFor([&finder] { return finder->ready(); }, 20000))
            << "the place list was read";
        return finder;
    }
    }
    return nullptr;
}

// Puts back the application's font and palette when a test has changed them.
class ApplicationLookGuard {
  public:
    ApplicationLookGuard() = default;
    ApplicationLookGuard(const ApplicationLookGuard&) = delete;
    ApplicationLookGuard& operator=(const ApplicationLookGuard&) = delete;
    ~ApplicationLookGuard() {
        QApplication::setFont(font_);
        QApplication::setPalette(palette_);
    }

  private:
    QFont font_ = QApplication::font();
    QPalette palette_ = QApplication::palette();
};
