#include "app/frmSettings.h"

#include <QComboBox>
#include <QLabel>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardItemModel>

#include <gtest/gtest.h>

namespace {

QComboBox* List(QWidget& window, const char* name) {
    auto* list = window.findChild<QComboBox*>(QLatin1String(name));
    EXPECT_NE(list, nullptr) << name;
    return list;
}

bool ItemEnabled(QComboBox* list, int row) {
    return qobject_cast<QStandardItemModel*>(list->model())->item(row)->isEnabled();
}

// Catches a choice that does not reach the owner, and an engine change that keeps a node or an
// ayanamsa list the new engine cannot take.
TEST(SettingsWindow, ChoosingThePreciseEngineTellsTheOwner) {
    frmSettings window(CalculationSettings{}, QString());
    QSignalSpy changed(&window, &frmSettings::settingsChanged);
    QComboBox* engine = List(window, "cboEngine");
    EXPECT_FALSE(List(window, "cboAyanamsa")->isEnabled());
    EXPECT_TRUE(ItemEnabled(List(window, "cboNodes"), static_cast<int>(Nodes::Rule)));
    EXPECT_FALSE(ItemEnabled(List(window, "cboNodes"), static_cast<int>(Nodes::True)));

    engine->setCurrentIndex(static_cast<int>(Engine::Precise));
    ASSERT_EQ(changed.count(), 1);
    const auto chosen = changed.takeFirst().at(0).value<CalculationSettings>();
    EXPECT_EQ(chosen, (CalculationSettings{Engine::Precise, Ayanamsa::Lahiri, Nodes::Mean,
                                           DrekkanaScheme::Parashara}));
    EXPECT_TRUE(List(window, "cboAyanamsa")->isEnabled());
    EXPECT_FALSE(ItemEnabled(List(window, "cboNodes"), static_cast<int>(Nodes::Rule)));
    EXPECT_TRUE(ItemEnabled(List(window, "cboNodes"), static_cast<int>(Nodes::True)));

    List(window, "cboDrekkana")->setCurrentIndex(static_cast<int>(DrekkanaScheme::Jagannatha));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.takeFirst().at(0).value<CalculationSettings>().drekkana,
              DrekkanaScheme::Jagannatha);
}

// Catches a precise engine offered where it cannot run, or greyed out without saying why.
TEST(SettingsWindow, MissingEngineIsGreyedOutWithThePackage) {
    const QString missing =
        QStringLiteral("Install the package libswe2.0 to use the precise engine.");
    frmSettings window(CalculationSettings{}, missing);
    EXPECT_FALSE(ItemEnabled(List(window, "cboEngine"), static_cast<int>(Engine::Precise)));
    auto* line = window.findChild<QLabel*>(QStringLiteral("lblPreciseMissing"));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), missing);
}

// Catches settings that are not kept between runs, and a kept combination the engine cannot
// take (written by hand or by another version) used as it stands.
TEST(SettingsWindow, KeptBetweenRuns) {
    QSettings().clear();
    EXPECT_EQ(KeptCalculationSettings(), CalculationSettings{});
    const CalculationSettings precise{Engine::Precise, Ayanamsa::TrueChitra, Nodes::True,
                                      DrekkanaScheme::Somanatha};
    KeepCalculationSettings(precise);
    EXPECT_EQ(KeptCalculationSettings(), precise);
    QSettings().setValue(QStringLiteral("calculation/engine"), QStringLiteral("1.20"));
    EXPECT_EQ(KeptCalculationSettings(),
              (CalculationSettings{Engine::Rules120, Ayanamsa::Lahiri, Nodes::Rule,
                                   DrekkanaScheme::Somanatha}));
}

} // namespace
