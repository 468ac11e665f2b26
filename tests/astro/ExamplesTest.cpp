#include "astro/ChartCalculation.h"
#include "astro/PositionText.h"
#include "astro/modVedicEphemeris.h"
#include "astro/modVedicPlanetPosition.h"
#include "chart/ChartInput.h"

#include <gtest/gtest.h>

TEST(Smoke, Placeholder) {
    EXPECT_EQ(FormatDisplayPosition(FormatSignPosition(7.5)), "07 Ari 30");
}
