#include "ui/DisplayFonts.h"

#include <QStringList>

QFont labelFont(qreal pointSize, bool bold) {
    QFont font;
    // Families in order of preference; the style hint picks a sans-serif when none is installed.
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Bitstream Vera Sans"), QStringLiteral("Tahoma"),
                      QStringLiteral("Arial"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}
