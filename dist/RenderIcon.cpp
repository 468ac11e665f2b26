// korvani-render-icon: renders an SVG into a square PNG of a given size, for the icon theme.
// Used at build time only. Fails when the SVG cannot be read or renders into nothing.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>

namespace {

bool HasVisiblePixel(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0) {
                return true;
            }
        }
    }
    return false;
}

int Fail(const char* message, const QString& path) {
    std::fprintf(stderr, "korvani-render-icon: %s: %s\n", message, qPrintable(path));
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    const QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    bool sizeRead = false;
    const int sizePixels = arguments.size() == 4 ? arguments[2].toInt(&sizeRead) : 0;
    if (!sizeRead || sizePixels < 16 || sizePixels > 1024) {
        std::fputs("usage: korvani-render-icon SOURCE.svg SIZE(16-1024) OUTPUT.png\n", stderr);
        return 2;
    }

    QSvgRenderer renderer(arguments[1]);
    if (!renderer.isValid()) {
        return Fail("not a readable SVG", arguments[1]);
    }
    QImage image(sizePixels, sizePixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    if (!HasVisiblePixel(image)) {
        return Fail("the SVG renders into an empty picture", arguments[1]);
    }
    if (!image.save(arguments[3], "PNG")) {
        return Fail("could not write", arguments[3]);
    }
    return 0;
}
