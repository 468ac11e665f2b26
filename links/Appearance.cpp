#include "links/Appearance.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QSvgRenderer>

QPixmap renderPicture(const QString& file, QSize size) {
    QSvgRenderer renderer(file);
    if (!renderer.isValid() || size.isEmpty()) {
        return {};
    }
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

void showAsLink(QLabel* label) {
    // One colour for every link of the program, readable on the window background.
    label->setStyleSheet(QStringLiteral("color: #1a3fa8;"));
}
