#include "app/frmSettings.h"

#include "ui/Appearance.h"
#include "ui/Keyboard.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace {

constexpr const char* engineKey = "calculation/engine";
constexpr const char* ayanamsaKey = "calculation/ayanamsa";
constexpr const char* nodesKey = "calculation/nodes";
constexpr const char* drekkanaKey = "calculation/drekkana";

QComboBox* MakeList(QWidget* parent, const char* name, const QStringList& items) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->addItems(items);
    return list;
}

void EnableItem(QComboBox* list, int row, bool enabled) {
    if (auto* model = qobject_cast<QStandardItemModel*>(list->model())) {
        model->item(row)->setEnabled(enabled);
    }
}

template <typename Choice, std::size_t n>
QStringList Names(const std::array<Choice, n>& choices, const char* (*name)(Choice)) {
    QStringList names;
    for (const Choice choice : choices) {
        names << QString::fromUtf8(name(choice));
    }
    return names;
}

} // namespace

frmSettings::frmSettings(const CalculationSettings& settings, const QString& preciseMissing,
                         QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Calculation Settings"));

    constexpr std::array<Engine, 2> engines = {Engine::Rules120, Engine::Precise};
    constexpr std::array<Nodes, 3> nodes = {Nodes::Rule, Nodes::Mean, Nodes::True};
    cboEngine_ = MakeList(this, "cboEngine", Names(engines, EngineName));
    cboAyanamsa_ = MakeList(this, "cboAyanamsa", Names(ayanamsas, AyanamsaName));
    cboNodes_ = MakeList(this, "cboNodes", Names(nodes, NodesName));
    cboDrekkana_ = MakeList(this, "cboDrekkana", Names(drekkanaSchemes, DrekkanaSchemeName));
    if (!preciseMissing.isEmpty()) {
        EnableItem(cboEngine_, static_cast<int>(Engine::Precise), false);
    }

    auto* layout = new QVBoxLayout(this);
    const auto addChoice = [&](const char* caption, QComboBox* list, const char* lineName,
                               const QString& line) {
        auto* label = new QLabel(QString::fromUtf8(caption), this);
        label->setBuddy(list);
        layout->addWidget(label);
        layout->addWidget(list);
        auto* explanation = MakeWrappedLabel(this, lineName, line);
        ShowAsQuiet(explanation); // a quiet line that still reads
        layout->addWidget(explanation);
    };
    addChoice("&Engine:", cboEngine_, "lblEngine",
              QStringLiteral("How the positions are found: the program's own 1.20 rules, or the "
                             "Swiss Ephemeris, exact to a fraction of a second of arc."));
    if (!preciseMissing.isEmpty()) {
        layout->addWidget(MakeWrappedLabel(this, "lblPreciseMissing", preciseMissing));
    }
    layout->addSpacing(6);
    addChoice("&Ayanamsa:", cboAyanamsa_, "lblAyanamsa",
              QStringLiteral("How far the sidereal zodiac stands from the tropical one; every "
                             "position moves with it. The 1.20 rules have their own "
                             "Lahiri-type ayanamsa."));
    layout->addSpacing(6);
    addChoice("&Nodes:", cboNodes_, "lblNodes",
              QStringLiteral("Where Rahu and Ketu stand: the 1.20 rules' mean node less 1\u00B0, "
                             "the mean node, or the true node."));
    layout->addSpacing(6);
    addChoice("&Drekkana:", cboDrekkana_, "lblDrekkana",
              QStringLiteral("Which sign each ten-degree part of a sign gives in the decanate "
                             "chart (D-3). The decanate texts stay the program's own."));

    layout->addSpacing(6);
    auto* cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setDefault(true);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);
    PressFocusedButtonOnEnter(this);

    display(settings);
    connect(cboEngine_, &QComboBox::currentIndexChanged, this, &frmSettings::engineChosen);
    for (QComboBox* list : {cboAyanamsa_, cboNodes_, cboDrekkana_}) {
        connect(list, &QComboBox::currentIndexChanged, this, &frmSettings::choiceMade);
    }
}

CalculationSettings frmSettings::settings() const {
    return {static_cast<Engine>(cboEngine_->currentIndex()),
            static_cast<Ayanamsa>(cboAyanamsa_->currentIndex()),
            static_cast<Nodes>(cboNodes_->currentIndex()),
            static_cast<DrekkanaScheme>(cboDrekkana_->currentIndex())};
}

void frmSettings::display(const CalculationSettings& settings) {
    showing_ = true;
    cboEngine_->setCurrentIndex(static_cast<int>(settings.engine));
    cboAyanamsa_->setCurrentIndex(static_cast<int>(settings.ayanamsa));
    cboNodes_->setCurrentIndex(static_cast<int>(settings.nodes));
    cboDrekkana_->setCurrentIndex(static_cast<int>(settings.drekkana));
    cboAyanamsa_->setEnabled(settings.engine == Engine::Precise);
    for (int row = 0; row < cboNodes_->count(); ++row) {
        CalculationSettings candidate = settings;
        candidate.nodes = static_cast<Nodes>(row);
        EnableItem(cboNodes_, row, !SettingsRefusal(candidate, false));
    }
    showing_ = false;
}

void frmSettings::engineChosen() {
    if (showing_) {
        return;
    }
    CalculationSettings chosen =
        SettingsForEngine(static_cast<Engine>(cboEngine_->currentIndex()),
                          static_cast<DrekkanaScheme>(cboDrekkana_->currentIndex()));
    chosen.ayanamsa = static_cast<Ayanamsa>(cboAyanamsa_->currentIndex());
    display(chosen);
    emit settingsChanged(chosen);
}

void frmSettings::choiceMade() {
    if (!showing_) {
        emit settingsChanged(settings());
    }
}

CalculationSettings KeptCalculationSettings() {
    const QSettings kept;
    const auto read = [&kept](const char* key) {
        return kept.value(QLatin1String(key)).toString().toStdString();
    };
    CalculationSettings settings;
    const auto engine = EngineOfKey(read(engineKey));
    const auto ayanamsa = AyanamsaOfKey(read(ayanamsaKey));
    const auto nodes = NodesOfKey(read(nodesKey));
    const auto drekkana = DrekkanaSchemeOfKey(read(drekkanaKey));
    if (engine && ayanamsa && nodes) {
        const CalculationSettings read{*engine, *ayanamsa, *nodes, settings.drekkana};
        if (!SettingsRefusal(read, false)) {
            settings = read;
        }
    }
    if (drekkana) {
        settings.drekkana = *drekkana;
    }
    return settings;
}

void KeepCalculationSettings(const CalculationSettings& settings) {
    QSettings kept;
    kept.setValue(QLatin1String(engineKey), QLatin1String(EngineKey(settings.engine)));
    kept.setValue(QLatin1String(ayanamsaKey), QLatin1String(AyanamsaKey(settings.ayanamsa)));
    kept.setValue(QLatin1String(nodesKey), QLatin1String(NodesKey(settings.nodes)));
    kept.setValue(QLatin1String(drekkanaKey), QLatin1String(DrekkanaSchemeKey(settings.drekkana)));
}
