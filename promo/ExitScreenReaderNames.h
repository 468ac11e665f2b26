#pragma once

#include "ui/AccessibleNames.h"

// What screen readers say for the controls of the exit window. The five refer-a-friend boxes
// each say whose detail they hold.
AccessibleNames ScreenReaderNamesOfExitWindow();
