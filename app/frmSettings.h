#pragma once

#include "precise/CalculationSettings.h"

#include <QDialog>
#include <QMetaType>
#include <QString>

class QComboBox;
class QLabel;

// The calculation settings: the engine, the ayanamsa, the nodes and the drekkana scheme, each
// list with a line under it saying what it changes. A choice takes effect at once
// (settingsChanged); Close closes the window. The precise engine is greyed out, with a line
// naming the package to install, when `preciseMissing` is not empty.
class frmSettings : public QDialog {
    Q_OBJECT
  public:
    frmSettings(const CalculationSettings& settings, const QString& preciseMissing,
                QWidget* parent = nullptr);

    // The settings the lists show.
    CalculationSettings settings() const;

  signals:
    void settingsChanged(const CalculationSettings& settings);

  private:
    // Shows `settings` in the lists, greying out what the engine cannot take.
    void display(const CalculationSettings& settings);
    void engineChosen();
    void choiceMade();

    QComboBox* cboEngine_;
    QComboBox* cboAyanamsa_;
    QComboBox* cboNodes_;
    QComboBox* cboDrekkana_;
    bool showing_ = false;
};

// The calculation settings kept between runs (QSettings); the 1.20 rules when none are kept or a
// kept value is not one the program knows.
CalculationSettings KeptCalculationSettings();
void KeepCalculationSettings(const CalculationSettings& settings);

Q_DECLARE_METATYPE(CalculationSettings)
