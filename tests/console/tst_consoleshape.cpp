// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/SkinShape.h"

#include <QTest>

namespace {

const QRgb kRed = qRgb(255, 0, 0);

// A picture drawn from rows of characters: '.' is pure red, 'x' grey, 'n' the
// near-red 254, 0, 0.
QImage picture(const QStringList &rows)
{
    QImage image(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QChar c = rows.at(y).at(x);
            image.setPixel(x, y, c == '.' ? kRed : c == 'n' ? qRgb(254, 0, 0) : qRgb(128, 128, 128));
        }
    }
    return image;
}

QStringList drawn(const QRegion &region, const QSize &size)
{
    QStringList rows;
    for (int y = 0; y < size.height(); ++y) {
        QString row;
        for (int x = 0; x < size.width(); ++x)
            row += region.contains(QPoint(x, y)) ? 'x' : '.';
        rows << row;
    }
    return rows;
}

} // namespace

class TestConsoleShape : public QObject {
    Q_OBJECT
private slots:
    void region_data();
    void region();
    void realSkin();
};

void TestConsoleShape::region_data()
{
    QTest::addColumn<QStringList>("picture");
    QTest::addColumn<QStringList>("shape");

    QTest::addRow("all red: no region") << QStringList{"....", "...."} << QStringList{"....", "...."};
    QTest::addRow("a red hole") << QStringList{"xxxx.", "x.xx.", "xxxx."} << QStringList{"xxxx.", "x.xx.", "xxxx."};
    QTest::addRow("run to the right edge stops short") << QStringList{".xxxx", "xxxxx"}
                                                       << QStringList{".xxx.", "xxxx."};
    QTest::addRow("near-red is opaque") << QStringList{"nn.n."} << QStringList{"xx.x."};
    QTest::addRow("a single pixel") << QStringList{"...", ".x.", "..."} << QStringList{"...", ".x.", "..."};
}

void TestConsoleShape::region()
{
    QFETCH(QStringList, picture);
    QFETCH(QStringList, shape);
    const QImage image = ::picture(picture);
    const QRegion region = outlineRegion(image);
    QCOMPARE(drawn(region, image.size()), shape);
    if (!shape.join(QString()).contains('x'))
        QVERIFY(region.isEmpty());
}

void TestConsoleShape::realSkin()
{
    const QImage skin(QStringLiteral(":/images/skin.bmp"));
    QCOMPARE(skin.size(), QSize(251, 101));
    QCOMPARE(skin.depth(), 32); // read back from a 24-bit file
    const QImage box = skinBox(skin, QSize(325, 139));
    const QRegion region = outlineRegion(box);

    qint64 opaque = 0;
    for (int y = 0; y < box.height(); ++y) {
        for (int x = 0; x < box.width(); ++x) {
            if ((box.pixel(x, y) & 0xFFFFFF) != 0xFF0000)
                ++opaque;
        }
    }
    qint64 area = 0;
    for (const QRect &rect : region)
        area += qint64(rect.width()) * rect.height();
    QCOMPARE(area, opaque);
    QVERIFY(!region.contains(QPoint(0, 0)));    // a rounded corner
    QVERIFY(region.contains(QPoint(125, 50)));  // the face
    QVERIFY(!region.contains(QPoint(250, 50))); // the red frame
}

QTEST_MAIN(TestConsoleShape)
#include "tst_consoleshape.moc"
