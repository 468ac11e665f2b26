#pragma once

#include <QFont>

// The labels' font: Verdana where the machine has it, otherwise the nearest sans-serif.
QFont labelFont(qreal pointSize = 9, bool bold = false);
