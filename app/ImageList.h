#pragma once

#include <QObject>
#include <QPixmap>
#include <QVector>

// An invisible, ordered list of pictures whose entries are numbered from 1, as the body
// pictures are: entry 1 the Sun ... entry 10 Pluto.
class ImageList : public QObject {
    Q_OBJECT
  public:
    explicit ImageList(QObject* parent = nullptr);

    // The ten body symbols, in body order, drawn at `pixels` square in the text colour of the
    // application's palette.
    static ImageList* bodyPictures(QObject* parent, int pixels = 40);

    void add(const QPixmap& picture);
    int count() const;
    // Entry n (1-based); a null pixmap when there is no such entry.
    QPixmap picture(int entry) const;

  private:
    QVector<QPixmap> pictures_;
};
