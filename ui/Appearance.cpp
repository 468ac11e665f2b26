#include "ui/Appearance.h"

#include "chartview/Contrast.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QSvgRenderer>

namespace {

// Keeps a label's ink in step with its palette: a link label's link colour, or a symbol's
// colour. A theme change reaches the label in several events (the application's palette, then its
// window's and its parents' as they take it on); each one works the colour out again from the
// palette it brings, and the last one leaves the settled colour.
class InkFollower : public QObject {
  public:
    enum class Ink { Link, Symbol, Outline, Quiet };

    InkFollower(QLabel* label, Ink ink) : QObject(label), label_(label), ink_(ink) {
        label->installEventFilter(this);
    }

    // The follower of that kind a label already has, or null.
    static InkFollower* Of(QLabel* label, Ink ink) {
        for (QObject* child : label->children()) {
            auto* follower = dynamic_cast<InkFollower*>(child);
            if (follower && follower->ink_ == ink) {
                return follower;
            }
        }
        return nullptr;
    }

    // `around`: the palette the label stands on.
    void apply(const QPalette& around) {
        if (ink_ == Ink::Link) {
            applyLinkColour(around);
            return;
        }
        if (ink_ == Ink::Quiet) {
            applyQuietColour(around);
            return;
        }
        const QPixmap shown = label_->pixmap();
        if (shown.isNull()) {
            return;
        }
        const QColor text = around.color(QPalette::WindowText);
        label_->setPixmap(ink_ == Ink::Symbol ? TintedPicture(shown, text)
                                              : OutlinedPicture(shown, text));
    }

    // The palette of the label's parent, which the link colour set here leaves alone.
    QPalette surroundings() const {
        const QWidget* parent = label_->parentWidget();
        return parent ? parent->palette() : QApplication::palette(label_);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != label_) {
            return false;
        }
        switch (event->type()) {
        case QEvent::ApplicationPaletteChange:
            // The parents may not have taken on the new palette yet.
            apply(QApplication::palette(label_));
            break;
        case QEvent::PaletteChange:
        case QEvent::ParentChange:
            apply(surroundings());
            break;
        default:
            break;
        }
        return false;
    }

  private:
    void applyLinkColour(const QPalette& around) {
        const QColor ink = ReadableInk(around.color(QPalette::Link), around.color(QPalette::Window),
                                       around.color(QPalette::WindowText));
        if (label_->foregroundRole() != QPalette::Link) {
            label_->setForegroundRole(QPalette::Link); // itself a palette change
        }
        if (label_->palette().color(QPalette::Link) != ink) {
            QPalette own = label_->palette();
            own.setColor(QPalette::Link, ink);
            label_->setPalette(own);
        }
    }

    // The grey of disabled text, laid on the window, or where that is too faint the nearest
    // colour towards the text colour that reads.
    void applyQuietColour(const QPalette& around) {
        const QColor window = around.color(QPalette::Window);
        QColor grey = around.color(QPalette::Disabled, QPalette::WindowText);
        const qreal opacity = grey.alphaF();
        grey = QColor::fromRgbF(grey.redF() * opacity + window.redF() * (1 - opacity),
                                grey.greenF() * opacity + window.greenF() * (1 - opacity),
                                grey.blueF() * opacity + window.blueF() * (1 - opacity));
        const QColor ink = ReadableInk(grey, window, around.color(QPalette::WindowText));
        if (label_->palette().color(QPalette::WindowText) != ink) {
            QPalette own = label_->palette();
            own.setColor(QPalette::WindowText, ink);
            label_->setPalette(own);
        }
    }

    QLabel* label_;
    Ink ink_;
};

void Follow(QLabel* label, InkFollower::Ink ink) {
    InkFollower* follower = InkFollower::Of(label, ink);
    if (!follower) {
        follower = new InkFollower(label, ink);
    }
    follower->apply(follower->surroundings());
}

// The application's style, with a ring round each radio button's circle and each check box's
// square in the palette's Mid colour made readable against the window. The ring is one pixel wide
// and smoothed, so its ink aims at the ratio of text to keep the ring's pixels at the non-text
// ratio.
class OutlinedIndicatorStyle : public QProxyStyle {
  public:
    // Over a copy of the application's style (the default style when that one has no factory).
    OutlinedIndicatorStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        if (element != PE_IndicatorRadioButton && element != PE_IndicatorCheckBox) {
            return;
        }
        const QPalette& palette = option->palette;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setBrush(Qt::NoBrush);
        painter->setPen(
            QPen(ReadableInk(palette.color(QPalette::Mid), palette.color(QPalette::Window),
                             palette.color(QPalette::WindowText)),
                 1.0));
        const QRectF ring = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
        if (element == PE_IndicatorRadioButton) {
            painter->drawEllipse(ring);
        } else {
            painter->drawRect(ring);
        }
        painter->restore();
    }
};

} // namespace

void OutlineIndicators(std::initializer_list<QAbstractButton*> buttons, QObject* owner) {
    auto* style = new OutlinedIndicatorStyle;
    style->setParent(owner);
    for (QAbstractButton* button : buttons) {
        button->setStyle(style);
    }
}

QPixmap RenderPicture(const QString& file, QSize size, const QColor& ink) {
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
    painter.end();
    return ink.isValid() ? TintedPicture(pixmap, ink) : pixmap;
}

QPixmap TintedPicture(const QPixmap& picture, const QColor& ink) {
    if (picture.isNull() || !ink.isValid()) {
        return picture;
    }
    QPixmap tinted = picture;
    QPainter painter(&tinted);
    // Source-in keeps each pixel's opacity and replaces its colour.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRectF(QPointF(0, 0), tinted.deviceIndependentSize()), ink);
    return tinted;
}

QPixmap OutlinedPicture(const QPixmap& picture, const QColor& ink) {
    if (picture.isNull() || !ink.isValid()) {
        return picture;
    }
    constexpr int reach = 2; // outline width in device pixels
    const QImage source = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    QImage outlined = source;
    const auto solid = [&source](int x, int y) {
        return x >= 0 && y >= 0 && x < source.width() && y < source.height() &&
               qAlpha(source.pixel(x, y)) >= 128;
    };
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const int alpha = qAlpha(source.pixel(x, y));
            if (alpha == 0) {
                continue;
            }
            bool edge = !solid(x, y); // the smoothed rim outside the solid shape
            for (int dy = -reach; dy <= reach && !edge; ++dy) {
                for (int dx = -reach; dx <= reach && !edge; ++dx) {
                    edge = !solid(x + dx, y + dy);
                }
            }
            if (edge) {
                outlined.setPixel(x, y, qRgba(ink.red(), ink.green(), ink.blue(), alpha));
            }
        }
    }
    QPixmap result = QPixmap::fromImage(outlined);
    result.setDevicePixelRatio(picture.devicePixelRatio());
    return result;
}

void ShowWithOutline(QLabel* label, const QPixmap& picture) {
    label->setPixmap(picture);
    Follow(label, InkFollower::Ink::Outline);
}

void ShowInTextColour(QLabel* label, const QPixmap& picture) {
    label->setPixmap(picture);
    Follow(label, InkFollower::Ink::Symbol);
}

void ShowAsLink(QLabel* label) {
    Follow(label, InkFollower::Ink::Link);
}

void ShowAsQuiet(QLabel* label) {
    Follow(label, InkFollower::Ink::Quiet);
}

QLabel* MakeWrappedLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    return label;
}

void ShowAsTitle(QLabel* label, qreal scale) {
    QFont font = label->font();
    font.setBold(true);
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * scale);
    } else if (font.pixelSize() > 0) {
        font.setPixelSize(qRound(font.pixelSize() * scale)); // a desktop font given in pixels
    }
    label->setFont(font);
}
