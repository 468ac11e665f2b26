#pragma once

#include "chart/ChartInput.h"
#include "chart/ChartState.h"
#include "precise/CalculationSettings.h"

#include <QString>

// The input window's controls as the calculation driver reads them.
struct DriverControls {
    int monthPosition = 0; // cboMonth, 0 = January; -1 without a selection
    QString dayText;       // cboDate
    QString yearText;      // cboYear
    QString hourText;      // cboHH
    QString minuteText;    // cboMM
    QString longitudeDegreesText;
    QString longitudeMinutesText;
    QString latitudeDegreesText;
    QString latitudeMinutesText;
    bool east = true;                               // optLong_0
    bool south = false;                             // optLat_1
    bool daylightSaving = false;                    // chkDST
    int timeZonePosition = defaultTimeZonePosition; // cmbTimeZone, -1 without a selection
    // The place's own time when its entry is chosen: the correction in place of a row's.
    std::optional<ZoneCorrection> zoneCorrection;
};

// Runs one step of the driver. A step that fails is abandoned without a message and the
// driver goes on with the next; returns whether the step ran through.
template <typename Step>
bool RunGuardedStep(Step&& step) noexcept {
    try {
        step();
        return true;
    } catch (...) {
        return false;
    }
}

// The numbers of the controls: each text converted to a 16-bit integer. A text that does not
// convert (which the lists and the validated boxes rule out) leaves the value the chart
// already holds, as does a list without a selection.
ChartInput ReadChartInput(const DriverControls& controls, const ChartState& previous);

// What a calculation used: the settings (the 1.20 rules', the drekkana scheme kept, when the
// precise engine was asked for but could not run) and the ayanamsa at the birth.
struct CalculationDone {
    CalculationSettings settings;
    double ayanamsaDegrees = 0.0;
};

// Loads the zone correction and the birth data into the chart state, then computes the time and
// angles, the Moon, and the Sun, planets and nodes, each step guarded on its own; or the precise
// engine's chart when the settings ask for it.
CalculationDone CalculateFromControls(ChartState& chart, const DriverControls& controls,
                                      const CalculationSettings& settings = {});
