// The chart diagrams of the result window: clicks, highlight, layout choice and its memory,
// folding on a small screen, Copy Reading's formats, saving and its folder, Copy Chart, the outer
// planets' choice, and the chart title.

#include "app/ChartPanel.h"
#include "app/ChartView.h"
#include "app/Reading.h"
#include "app/frmDisplay.h"
#include "astro/ChartCalculation.h"
#include "chart/ChartInput.h"
#include "chartview/ChartPainter.h"
#include "support/Births.h"
#include "ui/FileDialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QMimeData>
#include <QPrinter>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace {

ChartState DelhiChart() {
    ChartState chart;
    LoadChartInput(chart, DelhiBirth());
    CalculateChart(chart);
    return chart;
}

// A window manager's frame and title bar.
const QSize frameExtra(2, 30);

// Every test starts from no stored choice and leaves none behind.
class ChartPanel : public ::testing::Test {
  protected:
    void SetUp() override { QSettings().clear(); }
    void TearDown() override {
        QSettings().clear();
        SetSaveFileNameHandler({});
    }

    // A shown result window holding the New Delhi chart of 1990.
    std::unique_ptr<frmDisplay> ShownWindow() {
        auto window = std::make_unique<frmDisplay>();
        const ChartState chart = DelhiChart();
        window->setCharts(ComputeChartContents(chart, ChartKind::Birth),
                          ComputeChartContents(chart, ChartKind::Decanate),
                          ComputeChartContents(chart, ChartKind::Navamsa),
                          QStringLiteral("ASHA, 15 August 1990 10:30, 77°13′E 28°39′N"));
        window->foldChartsToFit(QRect(0, 0, 1280, 720), frameExtra);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        Repaint(*window);
        return window;
    }

    static ChartView* Chart(const QWidget& window, const char* name) {
        return window.findChild<ChartView*>(QLatin1String(name));
    }

    static void Repaint(const frmDisplay& window) {
        for (const char* name : {"picBirthChart", "picDecanateChart"}) {
            Chart(window, name)->repaint();
        }
    }

    static const ChartLabel* LabelOf(const ChartView& chart, int body) {
        for (const ChartLabel& label : chart.drawingLayout().labels) {
            if (label.body == body) {
                return &label;
            }
        }
        return nullptr;
    }
};

// From the keyboard: the chart takes the focus, Right steps to the next body's label in the
// layout's order and Return opens that body's tab, as a click would. Catches a chart the keyboard
// cannot reach, arrows that do not move, and Return that opens nothing.
TEST_F(ChartPanel, KeyboardStepsThroughTheBodiesAndOpensOne) {
    const auto window = ShownWindow();
    auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    ChartView* chart = Chart(*window, "picBirthChart");
    EXPECT_NE(chart->focusPolicy() & Qt::TabFocus, 0);
    chart->setFocus();
    // Step to a body with a tab other than the Sun's, which is open already.
    std::vector<int> focusable;
    for (const ChartLabel& label : chart->drawingLayout().labels) {
        if (label.body >= 0) {
            focusable.push_back(label.body);
        }
    }
    ASSERT_GE(focusable.size(), 3u);
    int steps = 1;
    while (steps + 1 < static_cast<int>(focusable.size()) &&
           (focusable[static_cast<std::size_t>(steps)] >= displayedBodyCount ||
            focusable[static_cast<std::size_t>(steps)] == 0)) {
        ++steps;
    }
    for (int step = 0; step < steps; ++step) {
        QTest::keyClick(chart, Qt::Key_Right);
    }
    QTest::keyClick(chart, Qt::Key_Return);
    EXPECT_EQ(tabs->currentIndex(), focusable[static_cast<std::size_t>(steps)]);
}

// Clicking a body's label in either chart selects its tab, and the selected body stands out in
// both charts.
TEST_F(ChartPanel, ClickingABodySelectsItsTabAndHighlightsItInBothCharts) {
    const auto window = ShownWindow();
    auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    const ChartState chart = DelhiChart();
    for (const auto& [name, kind] : {std::pair{"picBirthChart", ChartKind::Birth},
                                     std::pair{"picDecanateChart", ChartKind::Decanate}}) {
        EXPECT_EQ(Chart(*window, name)->accessibleName(),
                  QString::fromUtf8(ChartAccessibleName(kind)));
        EXPECT_EQ(Chart(*window, name)->accessibleDescription().toStdString(),
                  ChartDescription(ComputeChartContents(chart, kind), ChartStyle::SouthIndian));
    }
    for (const char* clicked : {"picBirthChart", "picDecanateChart"}) {
        for (const int body : {5, 9, 0}) {
            ChartView* chart = Chart(*window, clicked);
            const ChartLabel* label = LabelOf(*chart, body);
            ASSERT_NE(label, nullptr) << clicked << " draws body " << body;
            EXPECT_TRUE(label->text.startsWith(QLatin1String(bodyAbbreviations[body])))
                << label->text.toStdString();
            QTest::mouseClick(chart, Qt::LeftButton, {}, label->box.center().toPoint());
            EXPECT_EQ(tabs->currentIndex(), body) << "click in " << clicked;
            Repaint(*window);
            for (const char* shown : {"picBirthChart", "picDecanateChart"}) {
                for (const ChartLabel& other : Chart(*window, shown)->drawingLayout().labels) {
                    EXPECT_EQ(other.highlighted, other.body == body)
                        << shown << " label " << other.text.toStdString() << " after " << body;
                }
            }
        }
    }
}

// The layout choice redraws both charts, is stored, and the next window starts with it; South
// Indian when nothing was chosen.
TEST_F(ChartPanel, LayoutChoiceRedrawsAndIsRemembered) {
    {
        const auto window = ShownWindow();
        auto* south = window->findChild<QRadioButton*>(QStringLiteral("optChartStyle_0"));
        auto* north = window->findChild<QRadioButton*>(QStringLiteral("optChartStyle_1"));
        ASSERT_TRUE(south && north);
        EXPECT_EQ(south->text(), QStringLiteral("&South Indian"));
        EXPECT_EQ(north->text(), QStringLiteral("&North Indian"));
        EXPECT_TRUE(south->isChecked()) << "South Indian by default";
        EXPECT_NE(south->focusPolicy() & Qt::TabFocus, 0) << "reachable by keyboard";
        EXPECT_EQ(Chart(*window, "picBirthChart")->drawingLayout().geometry.style,
                  ChartStyle::SouthIndian);
        QTest::mouseClick(north, Qt::LeftButton);
        Repaint(*window);
        for (const char* name : {"picBirthChart", "picDecanateChart"}) {
            EXPECT_EQ(Chart(*window, name)->drawingLayout().geometry.style, ChartStyle::NorthIndian)
                << name;
            EXPECT_TRUE(Chart(*window, name)->accessibleDescription().startsWith("House 1"))
                << "the description reads from the first house";
        }
    }
    QSettings().sync();
    const auto next = ShownWindow();
    EXPECT_TRUE(next->findChild<QRadioButton*>(QStringLiteral("optChartStyle_1"))->isChecked());
    EXPECT_EQ(Chart(*next, "picDecanateChart")->drawingLayout().geometry.style,
              ChartStyle::NorthIndian);
}

// cboSecondChart puts the Navamsa in the second diagram, with its caption and screen-reader
// name; a click on a body there still opens its tab; the next window starts with the choice.
// Catches a choice that redraws nothing, a caption left as the decanate chart's, and a choice
// that is forgotten.
TEST_F(ChartPanel, SecondChartChoiceShowsTheNavamsaAndIsRemembered) {
    const ChartState chart = DelhiChart();
    {
        const auto window = ShownWindow();
        auto* choice = window->findChild<QComboBox*>(QStringLiteral("cboSecondChart"));
        ASSERT_NE(choice, nullptr);
        EXPECT_EQ(choice->currentText(), QStringLiteral("Decanate Chart (D-3)")) << "the default";
        choice->setCurrentIndex(1);
        ChartView* second = Chart(*window, "picDecanateChart");
        EXPECT_EQ(second->contents().kind, ChartKind::Navamsa);
        EXPECT_EQ(second->accessibleName(), QStringLiteral("Navamsa chart"));
        EXPECT_EQ(second->accessibleDescription().toStdString(),
                  ChartDescription(ComputeChartContents(chart, ChartKind::Navamsa),
                                   ChartStyle::SouthIndian));
        EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("lblDecanateChart"))->text(),
                  QStringLiteral("Navamsa Chart (D-9)"));
        second->repaint();
        auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
        const ChartLabel* jupiter = LabelOf(*second, 5);
        ASSERT_NE(jupiter, nullptr);
        QTest::mouseClick(second, Qt::LeftButton, {}, jupiter->box.center().toPoint());
        EXPECT_EQ(tabs->currentIndex(), 5);
    }
    QSettings().sync();
    const auto next = ShownWindow();
    EXPECT_EQ(next->findChild<QComboBox*>(QStringLiteral("cboSecondChart"))->currentIndex(), 1);
    EXPECT_EQ(Chart(*next, "picDecanateChart")->contents().kind, ChartKind::Navamsa);
}

// Unticking Show Charts is remembered: the next window opens without the panel. Catches a
// choice that is forgotten, and a panel shown although the box is unticked.
TEST_F(ChartPanel, ShowChartsIsRemembered) {
    {
        const auto window = ShownWindow();
        auto* box = window->findChild<QCheckBox*>(QStringLiteral("chkShowCharts"));
        ASSERT_TRUE(box->isChecked());
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_FALSE(box->isChecked());
    }
    QSettings().sync();
    const auto next = ShownWindow();
    EXPECT_FALSE(next->findChild<QCheckBox*>(QStringLiteral("chkShowCharts"))->isChecked());
    EXPECT_FALSE(next->findChild<QWidget*>(QStringLiteral("fraCharts"))->isVisible());
}

// Ticked again on a screen narrower than the window would like, the charts get less width than
// the tabs' height: each square still reaches the bottom of its chart, with the layout choice
// right under it, and the two squares stand no further apart than the layout's spacing. Catches
// a chart stretched taller than its square, which left a blank band under the charts.
TEST_F(ChartPanel, RetickedChartsLeaveNoBandUnderThemNorABarBetween) {
    const auto window = ShownWindow();
    auto* box = window->findChild<QCheckBox*>(QStringLiteral("chkShowCharts"));
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::mouseClick(box, Qt::LeftButton);
    ASSERT_TRUE(box->isChecked());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    Repaint(*window);
    const ChartView* birth = Chart(*window, "picBirthChart");
    const ChartView* second = Chart(*window, "picDecanateChart");
    auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    ASSERT_LT(birth->width(), tabs->height()) << "the charts are narrower than the page is tall";
    // The square leaves its pen and two pixels of the chart's side, and rounds down to fours.
    const double rounding = birth->drawingLayout().penWidth + 2 + 3;
    for (const ChartView* chart : {birth, second}) {
        const QRectF square = chart->drawingLayout().chartSquare;
        EXPECT_LE(chart->height() - square.bottom(), rounding) << chart->objectName().toStdString();
        EXPECT_LE(chart->width() - square.width(), rounding) << chart->objectName().toStdString();
    }
    const int spacing =
        window->findChild<QWidget*>(QStringLiteral("fraCharts"))->layout()->spacing();
    EXPECT_LE(second->mapTo(window.get(), second->drawingLayout().chartSquare.topLeft()).x() -
                  birth->mapTo(window.get(), birth->drawingLayout().chartSquare.topRight()).x(),
              spacing + 2 * rounding);
}

// Ticked again near the screen's right edge, the window grows with the charts and moves back onto
// the screen; one wider than the screen starts at its left edge. Catches a window that grows past
// the edge, its charts and buttons out of reach.
TEST_F(ChartPanel, RetickedChartsKeepTheWindowOnTheScreen) {
    const auto window = ShownWindow();
    const QRect available = window->screen()->availableGeometry();
    auto* box = window->findChild<QCheckBox*>(QStringLiteral("chkShowCharts"));
    QTest::mouseClick(box, Qt::LeftButton);
    window->move(available.right() - window->frameGeometry().width() / 2, available.top());
    QTest::mouseClick(box, Qt::LeftButton);
    ASSERT_TRUE(box->isChecked());
    const QRect frame = window->frameGeometry();
    EXPECT_GE(frame.left(), available.left());
    EXPECT_TRUE(frame.right() <= available.right() || frame.left() == available.left())
        << frame.left() << ".." << frame.right() << " on " << available.left() << ".."
        << available.right();
}

TEST_F(ChartPanel, SettingsStayOutOfTheUsersOwn) {
    const QString testConfig =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    EXPECT_TRUE(testConfig.contains(QLatin1String(".qttest"))) << testConfig.toStdString();
    EXPECT_TRUE(QSettings().fileName().startsWith(testConfig))
        << QSettings().fileName().toStdString();
}

// At the default font the window with its charts fits an area of 1280 x 720; on a smaller one
// the panel folds away behind chkShowCharts, and the box brings it back.
TEST_F(ChartPanel, PanelFoldsAwayOnlyOnASmallScreen) {
    struct Row {
        QRect available;
        bool shown;
    };
    for (const Row& row : {Row{QRect(0, 0, 1280, 720), true}, Row{QRect(0, 0, 1024, 600), false}}) {
        const auto window = ShownWindow();
        auto* show = window->findChild<QCheckBox*>(QStringLiteral("chkShowCharts"));
        ASSERT_NE(show, nullptr);
        EXPECT_EQ(show->text(), QStringLiteral("Show &Charts"));
        window->foldChartsToFit(row.available, frameExtra);
        EXPECT_EQ(show->isChecked(), row.shown) << row.available.width();
        EXPECT_EQ(Chart(*window, "picBirthChart")->isVisible(), row.shown);
        if (!row.shown) {
            // Without the panel the window fits the available area.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            const QSize frame = window->minimumSizeHint() + frameExtra;
            EXPECT_LE(frame.width(), row.available.width());
            EXPECT_LE(frame.height(), row.available.height());
            QTest::mouseClick(show, Qt::LeftButton);
            EXPECT_TRUE(Chart(*window, "picDecanateChart")->isVisible());
        }
    }
}

// Copy Reading: HTML starting with both charts as PNG data addresses, both charts side by side
// as image/png, and the cells as text lines before the reading.
TEST_F(ChartPanel, CopyReadingOffersHtmlImageAndText) {
    const auto window = ShownWindow();
    window->findChild<QAction*>(QStringLiteral("mnuCopyReading"))->trigger();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);

    const QString html = data->html();
    EXPECT_EQ(html.count(QLatin1String("<img src=\"data:image/png;base64,")), 2);
    EXPECT_LT(html.indexOf(QLatin1String("<img")), html.indexOf(QLatin1String("<h1>")))
        << "the charts come first";
    const qsizetype start = html.indexOf(QLatin1String("base64,")) + 7;
    const QImage inline_ = QImage::fromData(
        QByteArray::fromBase64(html.mid(start, html.indexOf(u'"', start) - start).toLatin1()),
        "PNG");
    EXPECT_FALSE(inline_.isNull()) << "the inline picture decodes";

    ASSERT_TRUE(data->formats().contains(QStringLiteral("image/png")));
    const QImage both = QImage::fromData(data->data(QStringLiteral("image/png")), "PNG");
    ASSERT_FALSE(both.isNull());
    EXPECT_GT(both.width(), both.height()) << "two charts side by side";

    const QString text = data->text();
    const ChartState chart = DelhiChart();
    qsizetype previous = 0;
    for (const ChartKind kind : {ChartKind::Birth, ChartKind::Decanate}) {
        const qsizetype caption = text.indexOf(QString::fromUtf8(ChartCaption(kind)), previous);
        EXPECT_GE(caption, previous) << ChartCaption(kind);
        for (const std::string& line : ChartTextLines(ComputeChartContents(chart, kind))) {
            EXPECT_TRUE(text.contains(QString::fromStdString(line) + u'\n')) << line;
        }
        previous = caption;
    }
    EXPECT_LT(previous, text.indexOf(QLatin1String("Position: "))) << "the reading follows";
}

// Save Chart As offers the reading's file name with the caption and writes the file the dialog
// names, PNG or SVG by its ending; a cancelled dialog writes nothing.
TEST_F(ChartPanel, SaveChartAsWritesPngOrSvg) {
    const auto window = ShownWindow();
    const QString stem = ReadingFileStem(QStringLiteral("ASHA"), DelhiChart());
    window->setPrintName(stem);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const char* file : {"birth.png", "birth.svg", ""}) {
        const QString path = *file ? folder.filePath(QLatin1String(file)) : QString();
        QString suggested;
        SetSaveFileNameHandler([&](const QString& name) {
            suggested = name;
            return path;
        });
        Chart(*window, "picBirthChart")->saveChartAs();
        EXPECT_EQ(QFileInfo(suggested).fileName(), stem + QStringLiteral(" Birth Chart (D-1).png"));
        if (path.isEmpty()) {
            EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2) << "nothing more";
            continue;
        }
        QFile saved(path);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly)) << file;
        const QByteArray bytes = saved.readAll();
        if (path.endsWith(QLatin1String(".png"))) {
            EXPECT_FALSE(QImage::fromData(bytes, "PNG").isNull());
            continue;
        }
        QXmlStreamReader svg(bytes);
        int texts = 0;
        QString title;
        while (!svg.atEnd()) {
            if (svg.readNext() == QXmlStreamReader::StartElement) {
                texts += svg.name() == QLatin1String("text");
                if (svg.name() == QLatin1String("desc")) {
                    title = svg.readElementText();
                }
            }
        }
        EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
        EXPECT_GT(texts, 10) << "caption, title and the bodies' labels";
        EXPECT_TRUE(title.startsWith(QLatin1String("ASHA"))) << title.toStdString();
    }
}

// The dialog opens in the folder the last chart was saved in, in a later window too; before any
// save, and after a cancelled dialog, it offers the name alone or the last folder. Catches a
// folder that is not passed to the dialog, and one that is forgotten between windows.
TEST_F(ChartPanel, SaveChartAsOpensInTheLastFolder) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString name = QStringLiteral("Decanate Chart (D-3).png");
    QString suggested;
    QString answer = folder.filePath(QStringLiteral("elsewhere.svg"));
    SetSaveFileNameHandler([&](const QString& offered) {
        suggested = offered;
        return answer;
    });
    {
        const auto window = ShownWindow();
        Chart(*window, "picDecanateChart")->saveChartAs();
        EXPECT_EQ(suggested, name) << "no folder before the first save";
    }
    QSettings().sync();
    const auto next = ShownWindow();
    answer.clear();
    for (int cancelled = 0; cancelled < 2; ++cancelled) {
        Chart(*next, "picDecanateChart")->saveChartAs();
        EXPECT_EQ(QFileInfo(suggested).absoluteFilePath(), QDir(folder.path()).filePath(name));
    }
}

// Copy Chart, chosen in a chart's context menu, puts both charts as shown on the clipboard: one
// PNG picture at twice the pixels of the plain drawing, and as text the title and each chart's
// caption and cell lines. Catches a menu without the item, one chart only, a picture at plain
// pixels, and text without the cells.
TEST_F(ChartPanel, CopyChartPutsBothChartsAsPictureAndText) {
    const auto window = ShownWindow();
    window->findChild<QComboBox*>(QStringLiteral("cboSecondChart"))->setCurrentIndex(1);
    ChartView* chart = Chart(*window, "picBirthChart");
    QStringList offered;
    QTimer::singleShot(0, [&offered] {
        QWidget* menu = QApplication::activePopupWidget();
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            offered << action->objectName();
            if (action->objectName() == QLatin1String("mnuCopyChart")) {
                action->trigger();
            }
        }
        menu->close();
    });
    QTest::keyClick(chart, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(offered,
              QStringList({QStringLiteral("mnuSaveChartAs"), QStringLiteral("mnuCopyChart"),
                           QStringLiteral("mnuShowOuterPlanets")}));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const PrintedCharts shown = window->findChild<::ChartPanel*>()->charts();
    ASSERT_EQ(shown.decanate.kind, ChartKind::Navamsa);
    const QImage picture = QImage::fromData(data->data(QStringLiteral("image/png")), "PNG");
    const QImage sharp =
        RenderChartsImage({&shown.birth, &shown.decanate}, shown.style,
                          window->findChild<::ChartPanel*>()->font(), 2.0, shown.title);
    EXPECT_EQ(picture.size(), sharp.size()) << "both charts, at twice the pixels";
    const QString text = data->text();
    EXPECT_TRUE(text.startsWith(shown.title + u'\n')) << text.toStdString();
    qsizetype previous = 0;
    for (const ChartContents* contents : {&shown.birth, &shown.decanate}) {
        const qsizetype caption =
            text.indexOf(QString::fromUtf8(ChartCaption(contents->kind)) + u'\n', previous);
        EXPECT_GT(caption, previous) << ChartCaption(contents->kind);
        for (const std::string& line : ChartTextLines(*contents)) {
            EXPECT_GT(text.indexOf(QString::fromStdString(line) + u'\n', caption), caption) << line;
        }
        previous = caption;
    }
}

// Unticking Show Uranus, Neptune and Pluto leaves the nine grahas in both charts and in what
// they export, keeps the tabs, and the next window starts without them. Catches a choice that
// redraws nothing, an export that still holds the outer planets, and a choice that is forgotten.
TEST_F(ChartPanel, OuterPlanetsChoiceChangesBothChartsAndIsRemembered) {
    const auto outerBodies = [](const ChartContents& contents) {
        int count = 0;
        for (const auto& cell : contents.cells) {
            for (const ChartEntry& entry : cell) {
                count += entry.body >= 7 && entry.body <= 9;
            }
        }
        return count;
    };
    {
        const auto window = ShownWindow();
        auto* choice = window->findChild<QAction*>(QStringLiteral("mnuShowOuterPlanets"));
        ASSERT_NE(choice, nullptr);
        EXPECT_EQ(choice->text(), QStringLiteral("Show &Uranus, Neptune and Pluto"));
        EXPECT_TRUE(choice->isChecked()) << "drawn by default";
        EXPECT_EQ(outerBodies(Chart(*window, "picDecanateChart")->contents()), 3);
        choice->trigger();
        const PrintedCharts shown = window->findChild<::ChartPanel*>()->charts();
        const ChartState chart = DelhiChart();
        EXPECT_EQ(shown.birth.cells,
                  WithoutOuterPlanets(ComputeChartContents(chart, ChartKind::Birth)).cells);
        EXPECT_EQ(shown.decanate.cells,
                  WithoutOuterPlanets(ComputeChartContents(chart, ChartKind::Decanate)).cells);
        EXPECT_EQ(window->findChild<QTabWidget*>(QStringLiteral("SSTab1"))->count(),
                  displayedBodyCount);
    }
    QSettings().sync();
    const auto next = ShownWindow();
    EXPECT_FALSE(next->findChild<QAction*>(QStringLiteral("mnuShowOuterPlanets"))->isChecked());
    EXPECT_EQ(outerBodies(Chart(*next, "picBirthChart")->contents()), 0);
}

// A crowded cell's tooltip gives its sign and every body's position.
TEST_F(ChartPanel, CrowdedCellShowsItsFullTextInATooltip) {
    ChartContents crowded;
    crowded.kind = ChartKind::Birth;
    crowded.ascendantSign = 3;
    const auto entry = [](int body, int degrees) {
        ChartEntry made;
        made.body = body;
        made.wholeDegrees = degrees;
        made.minutes = 0;
        made.sign = 3;
        made.signDegrees = degrees;
        return made;
    };
    for (int body = 0; body < displayedBodyCount; ++body) {
        crowded.cells[3].push_back(entry(body, 29));
    }
    crowded.cells[3].insert(crowded.cells[3].begin(), entry(chartAscendantBody, 12));
    ChartView chart(ChartKind::Birth);
    chart.setContents(crowded, QString());
    chart.resize(chart.minimumSizeHint());
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    chart.repaint();
    ASSERT_EQ(chart.drawingLayout().overflowedSigns, std::vector<int>{3});
    QPointF centre;
    for (const ChartLabel& label : chart.drawingLayout().labels) {
        centre = label.box.center();
    }
    QHelpEvent help(QEvent::ToolTip, centre.toPoint(), chart.mapToGlobal(centre.toPoint()));
    QApplication::sendEvent(&chart, &help);
    QStringList lines;
    for (const std::string& line : CellTooltipLines(crowded, 3)) {
        lines << QString::fromStdString(line);
    }
    EXPECT_EQ(QToolTip::text(), lines.join(u'\n'));
    EXPECT_TRUE(QToolTip::text().contains(QString::fromUtf8("Pluto 29°00′ Cancer")));
    EXPECT_TRUE(chart.accessibleDescription().contains(QString::fromUtf8("Pluto 29°")));
    QToolTip::hideText();
}

// Print with the charts on top: every body still printed, on as many pages or one more.
TEST(ChartPrint, ChartsGoAboveTheReadingOnTheFirstPage) {
    const ChartState chart = DelhiChart();
    Reading reading;
    reading.header = QStringLiteral("ASHA");
    for (int body = 0; body < displayedBodyCount; ++body) {
        BodyReading values{QString::fromLatin1(bodyNames[static_cast<std::size_t>(body)]), {}};
        values.values.fill(QStringLiteral("value"));
        reading.bodies.push_back(values);
    }
    const PrintedCharts charts{ComputeChartContents(chart, ChartKind::Birth),
                               ComputeChartContents(chart, ChartKind::Decanate),
                               ChartStyle::NorthIndian, QStringLiteral("ASHA, 15 August 1990")};
    QTemporaryDir folder;
    const auto pages = [&](const PrintedCharts* printed, const char* name) {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.filePath(QLatin1String(name)));
        PrintReading(reading, printer, printed);
        QFile pdf(printer.outputFileName());
        EXPECT_TRUE(pdf.open(QIODevice::ReadOnly)) << name;
        return pdf.readAll().count("/Type /Page\n");
    };
    const qsizetype plain = pages(nullptr, "plain.pdf");
    const qsizetype withCharts = pages(&charts, "charts.pdf");
    EXPECT_GE(plain, 1);
    EXPECT_GE(withCharts, plain);
    EXPECT_LE(withCharts, plain + 1);
}

TEST(ChartTitle, NamesPersonDateTimeAndPlace) {
    ChartState chart;
    chart.birthDay = 5;
    chart.birthMonth = 3;
    chart.birthYear = 1931;
    chart.birthHour = 7;
    chart.birthMinute = 4;
    chart.longitudeDegrees = 2;
    chart.longitudeMinutes = 20;
    chart.longitudeEastFlag = chartFalse;
    chart.latitudeDegrees = 33;
    chart.latitudeMinutes = 5;
    chart.latitudeSouthFlag = chartTrue;
    chart.zoneCorrectionHours = 3;
    ChartHeaderFields spaced;
    spaced.name = QStringLiteral("  RAVI ");
    EXPECT_EQ(ChartTitleText(spaced, chart),
              QStringLiteral("RAVI, 5 March 1931 07:04, 33°05′S 2°20′W, -3:00"));
    EXPECT_EQ(ChartTitleText(ChartHeaderFields{}, chart),
              QStringLiteral("5 March 1931 07:04, 33°05′S 2°20′W, -3:00"));
    ChartHeaderFields placed;
    placed.name = QStringLiteral("RAVI");
    placed.placeText = QStringLiteral("Montevideo, Uruguay");
    EXPECT_EQ(ChartTitleText(placed, chart),
              QStringLiteral("RAVI, 5 March 1931 07:04, Montevideo, 33°05′S 2°20′W, -3:00"));
}

} // namespace
