#include "promo/LinkLabel.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

namespace {

class PageOnClick : public QObject {
  public:
    PageOnClick(QLabel* label, WebPage page) : QObject(label), page(page) {
        label->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const auto* label = static_cast<QWidget*>(watched);
            // A press that leaves the label before the release is no click.
            if (mouse->button() == Qt::LeftButton &&
                label->rect().contains(mouse->position().toPoint())) {
                openWebPage(page);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    WebPage page;
};

} // namespace

void openPageOnClick(QLabel* label, WebPage page) {
    label->setCursor(Qt::PointingHandCursor);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    label->setPalette(palette);
    new PageOnClick(label, page);
}
