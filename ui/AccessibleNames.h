#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class QWidget;

// What a screen reader says for one control of a window, found by its object name.
struct AccessibleName {
    QString objectName;
    QString name;        // empty: the control's own text
    QString description; // empty: none
};

using AccessibleNames = std::vector<AccessibleName>;

// Gives each listed control of `window` its accessible name and description. Returns the object
// names the window does not have (none when the list and the window agree).
QStringList ApplyAccessibleNames(QWidget& window, const AccessibleNames& names);
