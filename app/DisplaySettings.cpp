#include "app/DisplaySettings.h"

#include <QList>
#include <QtGlobal>

#include <cmath>

bool IsUsableScaleFactor(const QByteArray& value) {
    bool number = false;
    const double factor = value.trimmed().toDouble(&number);
    return number && std::isfinite(factor) && factor >= smallestScaleFactor &&
           factor <= largestScaleFactor;
}

bool IsUsableScreenScaleFactors(const QByteArray& value) {
    const QList<QByteArray> screens = value.split(';');
    for (const QByteArray& screen : screens) {
        // A screen is given by its position in the list or by name: "name=factor".
        const qsizetype equals = screen.lastIndexOf('=');
        if (!IsUsableScaleFactor(equals < 0 ? screen : screen.mid(equals + 1))) {
            return false;
        }
    }
    return true;
}

QStringList DropHostileDisplaySettings(std::FILE* report) {
    struct Setting {
        const char* name;
        bool (*usable)(const QByteArray&);
    };
    const Setting settings[] = {{"QT_SCALE_FACTOR", IsUsableScaleFactor},
                                {"QT_SCREEN_SCALE_FACTORS", IsUsableScreenScaleFactors}};
    QStringList lines;
    for (const Setting& setting : settings) {
        if (!qEnvironmentVariableIsSet(setting.name)) {
            continue;
        }
        const QByteArray value = qgetenv(setting.name);
        if (setting.usable(value)) {
            continue;
        }
        qunsetenv(setting.name);
        const QString line =
            QStringLiteral("korvani: %1=%2 ignored: a scale factor is a number from 0.25 to 8")
                .arg(QString::fromLatin1(setting.name), QString::fromLocal8Bit(value));
        lines << line;
        if (report) {
            std::fprintf(report, "%s\n", line.toLocal8Bit().constData());
            std::fflush(report);
        }
    }
    return lines;
}
