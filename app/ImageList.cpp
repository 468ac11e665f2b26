#include "app/ImageList.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

#include <array>

namespace {

// The pictures of the displayed bodies, in body order (entry 1 the Sun ... entry 10 Pluto).
constexpr std::array<const char*, 10> bodyPictureFiles = {
    ":/pictures/sun.svg",    ":/pictures/moon.svg",   ":/pictures/mercury.svg",
    ":/pictures/venus.svg",  ":/pictures/mars.svg",   ":/pictures/jupiter.svg",
    ":/pictures/saturn.svg", ":/pictures/uranus.svg", ":/pictures/neptune.svg",
    ":/pictures/pluto.svg"};

// Draws an SVG picture `pixels` square in logical pixels, at the screen's pixel ratio so that it
// stays sharp on high-density screens. A null pixmap when the picture cannot be read.
QPixmap renderPicture(const QString& file, int pixels) {
    QSvgRenderer renderer(file);
    if (!renderer.isValid() || pixels <= 0) {
        return {};
    }
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(pixels, pixels) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, pixels, pixels));
    return pixmap;
}

} // namespace

ImageList::ImageList(QObject* parent) : QObject(parent) {}

ImageList* ImageList::bodyPictures(QObject* parent, int pixels) {
    auto* list = new ImageList(parent);
    for (const char* file : bodyPictureFiles) {
        // A picture that cannot be drawn still takes its entry, so the numbering holds.
        list->add(renderPicture(QString::fromLatin1(file), pixels));
    }
    return list;
}

void ImageList::add(const QPixmap& picture) {
    pictures_.append(picture);
}

int ImageList::count() const {
    return static_cast<int>(pictures_.size());
}

QPixmap ImageList::picture(int entry) const {
    if (entry < 1 || entry > count()) {
        return {};
    }
    return pictures_.at(entry - 1);
}
