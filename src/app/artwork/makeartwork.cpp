// Paints the program's own pictures at build time:
//   101.jpg          the window background, a JPEG of 1600 x 1200
//   102.jpg          the face of the command buttons, a JPEG of 397 x 150
//   103.jpg          their disabled face, a GIF89a of 185 x 109 (kept under this name)
//   pointer.png      the mouse pointer over the main window's picture buttons
//   image1_0..3.png  the main window's four picture buttons (32 x 32)
//   menu0..2.png     the menu icons (16 x 16)
//   product.png      the product picture of the About box
//   trevix-N.png     the program icon (N = 48, 128, 256)
//   help_*.png       pictures of the help file
// Everything is drawn from code with fixed numbers (a fixed-seed generator for
// the paper texture), so a build always writes the same pictures.
//
// Usage: trevix-artwork <output directory>

#include "gifwriter.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

const QString kKaiFamily = QStringLiteral("AR PL UKai CN");
const QColor kPaperTop(0xfb, 0xf6, 0xea);
const QColor kPaperBottom(0xef, 0xe2, 0xc4);
const QColor kSealRed(0xb8, 0x2a, 0x22);

// A small linear congruential generator: the same numbers on every machine.
class Lcg {
public:
    explicit Lcg(quint32 seed) : m_state(seed) {}
    double next() {
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) / double(1u << 24);
    }

private:
    quint32 m_state;
};

QFont kaiFont(qreal pixelSize) {
    QFont font(kKaiFamily);
    font.setPixelSize(qRound(pixelSize));
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// ---- 101.jpg: rice paper, faint clouds, ink-wash hills and a red seal ---------

void paintClouds(QPainter &p, QPointF centre, qreal r, QColor colour) {
    QPen pen(colour, r * 0.09, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    // A curl of three turning arcs, as on traditional cloud patterns.
    for (int i = 0; i < 3; ++i) {
        const qreal rr = r * (1.0 - i * 0.28);
        p.drawArc(QRectF(centre.x() - rr, centre.y() - rr, 2 * rr, 2 * rr), 30 * 16, 260 * 16);
    }
    p.drawArc(QRectF(centre.x() + r * 0.6, centre.y() - r * 0.5, r * 1.4, r * 1.4), 90 * 16,
              200 * 16);
    p.drawLine(QPointF(centre.x() - r * 1.6, centre.y() + r),
               QPointF(centre.x() + r * 2.4, centre.y() + r));
}

QPainterPath ridge(qreal width, qreal height, qreal base, qreal amplitude, qreal phase,
                   qreal waves) {
    QPainterPath path;
    path.moveTo(0, height);
    for (int x = 0; x <= int(width); x += 8) {
        const qreal t = x / width;
        const qreal y =
            base - amplitude * (0.55 * std::sin(t * waves * 6.2832 + phase) +
                                0.30 * std::sin(t * waves * 2.7 * 6.2832 + phase * 1.7) +
                                0.15 * std::sin(t * waves * 7.1 * 6.2832 + phase * 0.3));
        path.lineTo(x, y);
    }
    path.lineTo(width, height);
    path.closeSubpath();
    return path;
}

void paintSeal(QPainter &p, const QRectF &r, const QString &text) {
    p.setPen(Qt::NoPen);
    p.setBrush(kSealRed);
    p.drawRoundedRect(r, r.width() * 0.08, r.width() * 0.08);
    p.setPen(QPen(QColor(0xfb, 0xf1, 0xe6), r.width() * 0.03));
    p.setBrush(Qt::NoBrush);
    const qreal inset = r.width() * 0.08;
    p.drawRoundedRect(r.adjusted(inset, inset, -inset, -inset), r.width() * 0.05, r.width() * 0.05);
    if (text.isEmpty())
        return;
    p.setFont(kaiFont(r.height() * 0.36));
    p.setPen(QColor(0xfb, 0xf1, 0xe6));
    // Two characters side by side, each filling half of the inner square.
    const QRectF inner = r.adjusted(inset * 1.5, inset * 1.5, -inset * 1.5, -inset * 1.5);
    const int n = int(text.size());
    for (int i = 0; i < n; ++i) {
        QRectF cell(inner.left() + inner.width() * i / n, inner.top(), inner.width() / n,
                    inner.height());
        p.drawText(cell, Qt::AlignCenter, text.mid(i, 1));
    }
}

QImage background() {
    QImage img(1600, 1200, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient paper(0, 0, 0, 1200);
    paper.setColorAt(0, kPaperTop);
    paper.setColorAt(1, kPaperBottom);
    p.fillRect(img.rect(), paper);

    // Paper fibres.
    Lcg rng(20061);
    for (int i = 0; i < 2600; ++i) {
        const QPointF a(rng.next() * 1600, rng.next() * 1200);
        const qreal angle = rng.next() * 6.2832;
        const qreal len = 6 + rng.next() * 22;
        p.setPen(QPen(QColor(0x9a, 0x7b, 0x4f, 10 + int(rng.next() * 14)), 1.0));
        p.drawLine(a, a + QPointF(std::cos(angle) * len, std::sin(angle) * len));
    }

    // Faint clouds spread over the whole picture, so that any part of it looks alike.
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 6; ++col) {
            const qreal x = 120 + col * 280 + (row % 2) * 140 + rng.next() * 40;
            const qreal y = 90 + row * 230 + rng.next() * 30;
            paintClouds(p, QPointF(x, y), 26 + rng.next() * 10, QColor(0xc9, 0xa8, 0x6a, 34));
        }
    }

    // Ink-wash hills along the bottom.
    const struct {
        qreal base, amplitude, phase, waves;
        QColor colour;
    } hills[] = {
        {930, 150, 0.4, 1.3, QColor(0x6b, 0x7d, 0x73, 38)},
        {1010, 120, 2.1, 1.9, QColor(0x4f, 0x63, 0x5a, 52)},
        {1090, 90, 4.0, 2.6, QColor(0x33, 0x44, 0x3e, 66)},
    };
    p.setPen(Qt::NoPen);
    for (const auto &h : hills) {
        QLinearGradient mist(0, h.base - h.amplitude, 0, 1200);
        mist.setColorAt(0, h.colour);
        QColor fade = h.colour;
        fade.setAlpha(h.colour.alpha() / 4);
        mist.setColorAt(1, fade);
        p.setBrush(mist);
        p.drawPath(ridge(1600, 1200, h.base, h.amplitude, h.phase, h.waves));
    }

    // A pale sun and the seal.
    QRadialGradient sun(QPointF(1320, 250), 110);
    sun.setColorAt(0, QColor(0xe8, 0x8a, 0x5c, 70));
    sun.setColorAt(1, QColor(0xe8, 0x8a, 0x5c, 0));
    p.setBrush(sun);
    p.drawEllipse(QPointF(1320, 250), 110, 110);
    paintSeal(p, QRectF(1440, 1040, 110, 110), QStringLiteral("分词"));
    return img;
}

// ---- 102.jpg / 103.jpg: the button faces ---------------------------------------

void paintButtonFace(QPainter &p, QSizeF size, QColor corner, QColor top, QColor middle,
                     QColor bottom, QColor rim) {
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(QPointF(0, 0), size), corner);
    const qreal w = size.width(), h = size.height();
    const qreal border = h * 0.05;
    const qreal radius = h * 0.22;
    const QRectF outer(border / 2, border / 2, w - border, h - border);

    QLinearGradient fill(0, 0, 0, h);
    fill.setColorAt(0, top);
    fill.setColorAt(0.45, middle);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(rim, border));
    p.setBrush(fill);
    p.drawRoundedRect(outer, radius, radius);

    // A soft gloss over the upper half and a thin inner line.
    QLinearGradient gloss(0, 0, 0, h * 0.5);
    gloss.setColorAt(0, QColor(255, 255, 255, 130));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRoundedRect(QRectF(border * 2, border * 1.6, w - border * 4, h * 0.46), radius * 0.8,
                      radius * 0.8);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 90), border * 0.5));
    p.drawRoundedRect(outer.adjusted(border * 1.3, border * 1.3, -border * 1.3, -border * 1.3),
                      radius * 0.75, radius * 0.75);
}

QImage buttonFace() {
    QImage img(397, 150, QImage::Format_RGB32);
    QPainter p(&img);
    paintButtonFace(p, img.size(), QColor(0xf3, 0xea, 0xd6), QColor(0xff, 0xf4, 0xd4),
                    QColor(0xf4, 0xd6, 0x8e), QColor(0xd8, 0xa4, 0x46), QColor(0x8b, 0x5a, 0x2b));
    return img;
}

QImage disabledFace() {
    QImage img(185, 109, QImage::Format_RGB32);
    {
        QPainter p(&img);
        paintButtonFace(p, img.size(), QColor(0xe6, 0xe6, 0xe6), QColor(0xf2, 0xf2, 0xf2),
                        QColor(0xd9, 0xd9, 0xd9), QColor(0xb8, 0xb8, 0xb8),
                        QColor(0x8c, 0x8c, 0x8c));
    }
    return img.convertToFormat(QImage::Format_Grayscale8);
}

// ---- Icons: drawn on a 32-unit grid, scaled to the size asked for ------------

QImage icon(int size, const std::function<void(QPainter &)> &draw) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    draw(p);
    return img;
}

void drawKeyboard(QPainter &p) {
    QLinearGradient body(0, 7, 0, 27);
    body.setColorAt(0, QColor(0x4a, 0x86, 0xc5));
    body.setColorAt(1, QColor(0x2a, 0x5a, 0x93));
    p.setPen(QPen(QColor(0x1d, 0x3f, 0x68), 1.2));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(1.5, 7.5, 29, 19), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf4, 0xf7, 0xfb));
    for (int row = 0; row < 3; ++row) {
        const qreal offset = row * 1.5;
        for (int col = 0; col < 6 - (row == 2); ++col)
            p.drawRoundedRect(QRectF(4 + offset + col * 4.2, 10 + row * 4.2, 3.2, 3.2), 0.7, 0.7);
    }
    p.drawRoundedRect(QRectF(9, 22.5, 14, 2.5), 0.8, 0.8);
    // The red stroke of a brush: typing Chinese.
    p.setPen(QPen(kSealRed, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(24, 3), QPointF(30, 9));
}

void drawSegmentedPage(QPainter &p) {
    QPainterPath page;
    page.moveTo(6, 2);
    page.lineTo(21, 2);
    page.lineTo(27, 8);
    page.lineTo(27, 30);
    page.lineTo(6, 30);
    page.closeSubpath();
    p.setPen(QPen(QColor(0x6d, 0x5c, 0x45), 1.2));
    p.setBrush(QColor(0xff, 0xfd, 0xf6));
    p.drawPath(page);
    p.setBrush(QColor(0xe8, 0xdc, 0xc2));
    QPainterPath fold;
    fold.moveTo(21, 2);
    fold.lineTo(21, 8);
    fold.lineTo(27, 8);
    fold.closeSubpath();
    p.drawPath(fold);
    // Lines of words in the two alternating colours, with gaps between words.
    const QColor colours[] = {QColor(0x20, 0x20, 0x20), QColor(0x1f, 0x4f, 0xd8)};
    const qreal words[4][4] = {{4, 3, 5, 0}, {3, 6, 4, 2}, {5, 4, 3, 0}, {2, 4, 5, 3}};
    for (int line = 0; line < 4; ++line) {
        qreal x = 9;
        const qreal y = 11 + line * 5;
        for (int w = 0; w < 4 && words[line][w] > 0; ++w) {
            const qreal len = words[line][w];
            if (x + len > 25)
                break;
            p.setPen(QPen(colours[(line + w) % 2], 2.2, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(QPointF(x, y), QPointF(x + len, y));
            x += len + 1.4;
        }
    }
}

void drawHelp(QPainter &p) {
    QRadialGradient ball(QPointF(12, 10), 18);
    ball.setColorAt(0, QColor(0x6f, 0xa8, 0xec));
    ball.setColorAt(1, QColor(0x1f, 0x5f, 0xb8));
    p.setPen(QPen(QColor(0x17, 0x47, 0x8a), 1.2));
    p.setBrush(ball);
    p.drawEllipse(QRectF(2, 2, 28, 28));
    // The question mark: a hook, a stem and a dot.
    p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath hook;
    hook.moveTo(11.5, 12.5);
    hook.cubicTo(11.5, 6.5, 21, 6.5, 21, 12);
    hook.cubicTo(21, 15.5, 16, 16, 16, 19.5);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 24.5), 2, 2);
}

void drawExit(QPainter &p) {
    QRadialGradient ball(QPointF(12, 10), 18);
    ball.setColorAt(0, QColor(0xec, 0x74, 0x62));
    ball.setColorAt(1, QColor(0xb0, 0x2a, 0x1e));
    p.setPen(QPen(QColor(0x80, 0x1c, 0x14), 1.2));
    p.setBrush(ball);
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(8.5, 9, 15, 15), 125 * 16, 290 * 16);
    p.drawLine(QPointF(16, 6.5), QPointF(16, 15));
}

// The mouse pointer: a writing brush, its tip (the hot spot) at the upper left.
QImage pointer() {
    return icon(32, [](QPainter &p) {
        p.setPen(QPen(Qt::white, 3.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9, 9), QPointF(29, 29)); // white halo for dark backgrounds
        p.setPen(QPen(QColor(0x8a, 0x5a, 0x2c), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 10), QPointF(28.5, 28.5));
        p.setPen(QPen(QColor(0x5e, 0x3b, 0x18), 1.0));
        for (qreal t : {16.0, 22.0})
            p.drawLine(QPointF(t - 1.6, t + 1.6), QPointF(t + 1.6, t - 1.6));
        p.setPen(QPen(QColor(0xd4, 0xa3, 0x3c), 3.2, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(8.5, 8.5), QPointF(11, 11));
        QPainterPath tip;
        tip.moveTo(1, 1);
        tip.cubicTo(4, 2.5, 9, 5, 10, 7.5);
        tip.lineTo(7.5, 10);
        tip.cubicTo(5, 9, 2.5, 4, 1, 1);
        p.setPen(QPen(Qt::white, 0.8));
        p.setBrush(QColor(0x15, 0x15, 0x15));
        p.drawPath(tip);
    });
}

QImage seal(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal m = size * 0.04;
    paintSeal(p, QRectF(m, m, size - 2 * m, size - 2 * m), QStringLiteral("分词"));
    return img;
}

// ---- Pictures of the help file ---------------------------------------------------

QImage helpColours() {
    // A sentence as the test window shows it: words in two alternating colours,
    // punctuation in its own colour, the current character bold and italic (underline
    // is the mark of a word that has a short code).
    struct Piece {
        QString text;
        QColor colour;
    };
    const QColor black(0, 0, 0), blue(0, 0, 255), magenta(255, 0, 255);
    const Piece pieces[] = {{QStringLiteral("我们"), black}, {QStringLiteral("学习"), blue},
                            {QStringLiteral("分词"), black}, {QStringLiteral("输入"), blue},
                            {QStringLiteral("，"), magenta}, {QStringLiteral("每个"), black},
                            {QStringLiteral("词"), blue},    {QStringLiteral("一种"), black},
                            {QStringLiteral("颜色"), blue},  {QStringLiteral("。"), magenta}};
    QImage img(560, 84, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(img.rect(), QColor(0xff, 0xfd, 0xf6));
    p.setPen(QPen(QColor(0xc9, 0xb8, 0x96), 1));
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    const QFont normal = kaiFont(30);
    QFont marked = normal;
    marked.setBold(true);
    marked.setItalic(true);
    qreal x = 16;
    int index = 0;
    for (const auto &piece : pieces) {
        for (QChar c : piece.text) {
            p.setFont(index == 4 ? marked : normal); // the fifth character is the current one
            p.setPen(piece.colour);
            p.drawText(QRectF(x, 18, 34, 48), Qt::AlignCenter, QString(c));
            x += 34;
            ++index;
        }
    }
    return img;
}

QImage helpMainWindow() {
    // The main window's four picture buttons with their captions.
    QImage img(360, 230, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient paper(0, 0, 0, 230);
    paper.setColorAt(0, kPaperTop);
    paper.setColorAt(1, kPaperBottom);
    p.fillRect(img.rect(), paper);
    p.setPen(QPen(QColor(0xa8, 0x92, 0x6a), 1));
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    const std::function<void(QPainter &)> drawers[] = {drawKeyboard, drawSegmentedPage, drawHelp,
                                                       drawExit};
    const QString captions[] = {QStringLiteral("分词测试"), QStringLiteral("分词结果处理"),
                                QStringLiteral("帮助信息"), QStringLiteral("退出系统")};
    p.setFont(kaiFont(20));
    for (int i = 0; i < 4; ++i) {
        const qreal cx = i % 2 == 0 ? 95 : 265;
        const qreal cy = i < 2 ? 60 : 160;
        p.save();
        p.translate(cx - 24, cy - 40);
        p.scale(1.5, 1.5);
        drawers[i](p);
        p.restore();
        p.setPen(QColor(0x3b, 0x2a, 0x14));
        p.drawText(QRectF(cx - 80, cy + 12, 160, 30), Qt::AlignCenter, captions[i]);
    }
    return img;
}

// ---- Writing ---------------------------------------------------------------------

bool save(const QImage &img, const QString &path, const char *format, int quality = -1) {
    QImageWriter writer(path, format);
    if (quality >= 0)
        writer.setQuality(quality);
    if (!writer.write(img)) {
        std::fprintf(stderr, "trevix-artwork: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

bool saveGif(const QImage &img, const QString &path) {
    const QByteArray gif = artwork::encodeGif89a(img);
    // Check the encoding by reading it back: every pixel must come out unchanged.
    QImage back;
    if (gif.isEmpty() || !back.loadFromData(gif, "GIF") ||
        back.convertToFormat(QImage::Format_Grayscale8) != img) {
        std::fprintf(stderr, "trevix-artwork: the GIF encoding of %s does not read back\n",
                     qPrintable(path));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(gif) != gif.size()) {
        std::fprintf(stderr, "trevix-artwork: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[]) {
    // Text needs a font database, hence a GUI application, without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: trevix-artwork <output directory>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "trevix-artwork: cannot create %s\n", argv[1]);
        return 1;
    }

    bool ok = save(background(), out.filePath(QStringLiteral("101.jpg")), "JPEG", 82) &&
              save(buttonFace(), out.filePath(QStringLiteral("102.jpg")), "JPEG", 90) &&
              saveGif(disabledFace(), out.filePath(QStringLiteral("103.jpg"))) &&
              save(pointer(), out.filePath(QStringLiteral("pointer.png")), "PNG");
    const std::function<void(QPainter &)> buttons[] = {drawKeyboard, drawSegmentedPage, drawHelp,
                                                       drawExit};
    for (int i = 0; ok && i < 4; ++i)
        ok =
            save(icon(32, buttons[i]), out.filePath(QStringLiteral("image1_%1.png").arg(i)), "PNG");
    for (int i = 0; ok && i < 3; ++i)
        ok = save(icon(16, buttons[i]), out.filePath(QStringLiteral("menu%1.png").arg(i)), "PNG");
    ok = ok && save(seal(128), out.filePath(QStringLiteral("product.png")), "PNG");
    for (int size : {48, 128, 256})
        ok = ok && save(seal(size), out.filePath(QStringLiteral("trevix-%1.png").arg(size)), "PNG");
    ok = ok && save(helpColours(), out.filePath(QStringLiteral("help_colours.png")), "PNG") &&
         save(helpMainWindow(), out.filePath(QStringLiteral("help_mainwindow.png")), "PNG");
    return ok ? 0 : 1;
}
