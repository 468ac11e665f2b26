#include "app/ImageList.h"

#include "chart/ChartState.h"
#include "ui/Appearance.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>

namespace {

// The pictures of the displayed bodies, in body order (entry 1 the Sun ... entry 10 Pluto).
constexpr std::array<const char*, displayedBodyCount> bodyPictureFiles = {
    ":/pictures/sun.svg",    ":/pictures/moon.svg",   ":/pictures/mercury.svg",
    ":/pictures/venus.svg",  ":/pictures/mars.svg",   ":/pictures/jupiter.svg",
    ":/pictures/saturn.svg", ":/pictures/uranus.svg", ":/pictures/neptune.svg",
    ":/pictures/pluto.svg"};

} // namespace

ImageList::ImageList(QObject* parent) : QObject(parent) {}

ImageList* ImageList::bodyPictures(QObject* parent, int pixels) {
    auto* list = new ImageList(parent);
    // The symbols are drawn like text, in the text colour, so they read on light and dark themes.
    const QColor ink = QGuiApplication::palette().color(QPalette::WindowText);
    for (const char* file : bodyPictureFiles) {
        // A picture that cannot be drawn still takes its entry, so the numbering holds.
        list->add(RenderPicture(QString::fromLatin1(file), QSize(pixels, pixels), ink));
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
