#include "app/ImageList.h"

#include <QImage>
#include <QSvgRenderer>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

namespace {

constexpr std::array<const char*, 10> bodyFiles = {
    "sun", "moon", "mercury", "venus", "mars", "jupiter", "saturn", "uranus", "neptune", "pluto"};

int opaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
        }
    }
    return count;
}

class BodyPicture : public ::testing::TestWithParam<int> {};

// Entry i + 1 is body i's symbol, drawn from its own picture, about 40 pixels square.
TEST_P(BodyPicture, IsDrawnFromItsOwnSymbol) {
    const int body = GetParam();
    const QString file = QStringLiteral(":/pictures/%1.svg").arg(bodyFiles[body]);
    QSvgRenderer renderer(file);
    ASSERT_TRUE(renderer.isValid()) << file.toStdString();

    std::unique_ptr<ImageList> pictures(ImageList::bodyPictures(nullptr));
    const QPixmap picture = pictures->picture(body + 1);
    ASSERT_FALSE(picture.isNull()) << bodyFiles[body];
    EXPECT_EQ(picture.deviceIndependentSize().toSize(), QSize(40, 40)) << bodyFiles[body];

    const QImage image = picture.toImage();
    const int opaque = opaquePixels(image);
    const int all = image.width() * image.height();
    EXPECT_GT(opaque, all / 20) << bodyFiles[body] << " shows a symbol";
    EXPECT_LT(opaque, all / 2) << bodyFiles[body] << " is a symbol, not a filled square";

    // No two bodies share a picture.
    for (int other = 1; other <= pictures->count(); ++other) {
        if (other != body + 1) {
            EXPECT_NE(pictures->picture(other).toImage(), image)
                << bodyFiles[body] << " and entry " << other;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(TenBodies, BodyPicture, ::testing::Range(0, 10),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(bodyFiles[static_cast<std::size_t>(info.param)]);
                         });

TEST(BodyPictures, TenEntriesNumberedFromOne) {
    std::unique_ptr<ImageList> pictures(ImageList::bodyPictures(nullptr, 64));
    EXPECT_EQ(pictures->count(), 10);
    EXPECT_TRUE(pictures->picture(0).isNull());
    EXPECT_TRUE(pictures->picture(11).isNull());
    EXPECT_EQ(pictures->picture(1).deviceIndependentSize().toSize(), QSize(64, 64));
    EXPECT_EQ(pictures->picture(10).deviceIndependentSize().toSize(), QSize(64, 64));
}

TEST(ImageList, KeepsTheOrderOfAddition) {
    ImageList list;
    QPixmap red(4, 4);
    red.fill(Qt::red);
    QPixmap blue(4, 4);
    blue.fill(Qt::blue);
    list.add(red);
    list.add(blue);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.picture(1).toImage().pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(list.picture(2).toImage().pixelColor(0, 0), QColor(Qt::blue));
}

} // namespace
