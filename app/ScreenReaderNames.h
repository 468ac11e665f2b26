#pragma once

#include "ui/AccessibleNames.h"

// What screen readers say for the controls of each window of the app folder. Lists and boxes
// are named by what they hold, never by their current value; pictures by what they show.
AccessibleNames ScreenReaderNamesOfInputWindow();
AccessibleNames ScreenReaderNamesOfResultWindow();
AccessibleNames ScreenReaderNamesOfAboutWindow();
AccessibleNames ScreenReaderNamesOfPlaceFinderWindow();

// The descriptions of the offer labels that several windows carry.
AccessibleNames OfferScreenReaderNames();
