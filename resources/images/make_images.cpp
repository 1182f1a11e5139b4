// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's images: the console skin, the application icon (PNG sizes
// and SVG) and the two 32 x 32 icons. Run by scripts/make-images.sh; the images
// it writes are committed, so a build never needs it.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>

namespace {

constexpr QRgb kTransparentRed = 0xFFFF0000;

// The skin: a light-grey metallic rounded rectangle, lightest near its centre,
// with a dark band along the top, a white highlight and a small arrow on the
// left, a white line along the bottom ending in a dot. Outside the rounded
// rectangle, and on a one-pixel frame round the picture, every pixel is pure red.
QImage skin()
{
    const QSize size(251, 101);
    const QRectF body(1, 1, size.width() - 2, size.height() - 2);
    QPainterPath outline;
    outline.addRoundedRect(body, 19, 19);

    QImage face(size, QImage::Format_RGB888);
    face.fill(Qt::white);
    {
        QPainter p(&face);
        p.setRenderHint(QPainter::Antialiasing);
        QRadialGradient metal(body.center(), body.width() * 0.62);
        metal.setColorAt(0.0, QColor(0xF4, 0xF4, 0xF2));
        metal.setColorAt(0.55, QColor(0xD0, 0xD0, 0xCE));
        metal.setColorAt(1.0, QColor(0x98, 0x98, 0x98));
        p.fillRect(face.rect(), metal);

        QLinearGradient band(0, 1, 0, 13);
        band.setColorAt(0.0, QColor(0x40, 0x40, 0x40, 230));
        band.setColorAt(1.0, QColor(0x40, 0x40, 0x40, 0));
        p.fillRect(QRectF(0, 0, size.width(), 13), band);

        p.setPen(QPen(Qt::white, 1));
        p.drawLine(QPointF(2.5, 20), QPointF(2.5, 80));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x70, 0x70, 0x70));
        p.drawPolygon(QPolygonF({QPointF(4, 50.5), QPointF(9, 46), QPointF(9, 55)}));

        p.setPen(QPen(Qt::white, 1));
        p.drawLine(QPointF(20, 97.5), QPointF(234, 97.5));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(237.5, 97.5), 1.6, 1.6);
    }

    // Only pure red is cut away, so the outline is decided per pixel, never
    // blended: a reddish edge pixel would stay visible as a pink fringe.
    QImage result(size, QImage::Format_RGB888);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const bool inside = outline.contains(QPointF(x + 0.5, y + 0.5)) && x > 0 && y > 0
                && x < size.width() - 1 && y < size.height() - 1;
            result.setPixel(x, y, inside ? face.pixel(x, y) : kTransparentRed);
        }
    }
    return result;
}

// The application icon: a meter dial with a needle, drawn in a 48-unit square.
void paintIcon(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1F, 0x4E, 0x8C));
    p.drawEllipse(QRectF(2, 2, 44, 44));
    p.setBrush(QColor(0xF7, 0xF7, 0xF2));
    p.drawEllipse(QRectF(6, 6, 36, 36));
    p.setPen(QPen(QColor(0x1F, 0x4E, 0x8C), 2.5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i <= 4; ++i) {
        p.save();
        p.translate(24, 24);
        p.rotate(-135 + i * 67.5);
        p.drawLine(QPointF(0, -15), QPointF(0, -11));
        p.restore();
    }
    p.setPen(QPen(QColor(0xC6, 0x28, 0x28), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(24, 24), QPointF(33, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1F, 0x4E, 0x8C));
    p.drawEllipse(QPointF(24, 24), 3.5, 3.5);
}

const char *kIconSvg = R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">
  <circle cx="24" cy="24" r="22" fill="#1f4e8c"/>
  <circle cx="24" cy="24" r="18" fill="#f7f7f2"/>
  <g stroke="#1f4e8c" stroke-width="2.5" stroke-linecap="round">
    <line x1="24" y1="9" x2="24" y2="13" transform="rotate(-135 24 24)"/>
    <line x1="24" y1="9" x2="24" y2="13" transform="rotate(-67.5 24 24)"/>
    <line x1="24" y1="9" x2="24" y2="13"/>
    <line x1="24" y1="9" x2="24" y2="13" transform="rotate(67.5 24 24)"/>
    <line x1="24" y1="9" x2="24" y2="13" transform="rotate(135 24 24)"/>
  </g>
  <line x1="24" y1="24" x2="33" y2="15" stroke="#c62828" stroke-width="3" stroke-linecap="round"/>
  <circle cx="24" cy="24" r="3.5" fill="#1f4e8c"/>
</svg>
)svg";

QImage icon(int pixels)
{
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.scale(pixels / 48.0, pixels / 48.0);
    paintIcon(p);
    return image;
}

// An exclamation mark in a shape, drawn in a 32 x 32 square.
void paintExclamation(QPainter &p, const QColor &mark)
{
    p.setPen(Qt::NoPen);
    p.setBrush(mark);
    p.drawRoundedRect(QRectF(14.5, 8, 3, 12), 1.5, 1.5);
    p.drawEllipse(QPointF(16, 24), 2, 2);
}

// The console's package-exceeded indicator: a red disc with a white mark.
QImage indicator()
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x8E, 0x1B, 0x1B), 1.5));
    p.setBrush(QColor(0xD3, 0x2F, 0x2F));
    p.drawEllipse(QRectF(2, 2, 28, 28));
    paintExclamation(p, Qt::white);
    return image;
}

// The alert window's picture: a yellow warning triangle with a dark mark.
QImage alert()
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x6D, 0x4C, 0x00), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0xFF, 0xC8, 0x2E));
    p.drawPolygon(QPolygonF({QPointF(16, 2.5), QPointF(30, 29), QPointF(2, 29)}));
    p.translate(0, 2.5);
    paintExclamation(p, QColor(0x30, 0x30, 0x30));
    return image;
}

bool save(const QImage &image, const QString &path, const char *format)
{
    if (image.save(path, format))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    bool ok = save(skin(), out.filePath("skin.bmp"), "BMP");
    for (int size : {16, 32, 48})
        ok = save(icon(size), out.filePath(QStringLiteral("dialmeter-%1.png").arg(size)), "PNG") && ok;
    ok = save(indicator(), out.filePath("indicator.png"), "PNG") && ok;
    ok = save(alert(), out.filePath("alert.png"), "PNG") && ok;
    QFile svg(out.filePath("dialmeter.svg"));
    ok = svg.open(QIODevice::WriteOnly) && svg.write(kIconSvg) > 0 && ok;
    return ok ? 0 : 1;
}
