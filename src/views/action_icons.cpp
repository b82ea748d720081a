#include "views/action_icons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {
const QColor kInk(0x33, 0x3d, 0x47);
const QColor kGreen(0x2e, 0x9d, 0x3f);
const QColor kRed(0xc9, 0x30, 0x2c);
const QColor kBlue(0x2b, 0x6c, 0xc4);
const QColor kAmber(0xe0, 0x9a, 0x1b);

void sheet(QPainter& p) { // a page with a folded corner
    QPainterPath path;
    path.moveTo(6, 3);
    path.lineTo(15, 3);
    path.lineTo(19, 7);
    path.lineTo(19, 21);
    path.lineTo(6, 21);
    path.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(path);
    p.drawLine(QPointF(15, 3), QPointF(15, 7));
    p.drawLine(QPointF(15, 7), QPointF(19, 7));
}

void curve(QPainter& p, QColor color) {
    QPen pen(color, 2);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(3, 18);
    path.cubicTo(8, 18, 8, 6, 13, 6);
    path.cubicTo(17, 6, 17, 14, 21, 14);
    p.drawPath(path);
}

void badge(QPainter& p, QColor color, const QString& glyph) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QRectF(12, 12, 11, 11));
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(12, 12, 11, 11), Qt::AlignCenter, glyph);
}

void floppy(QPainter& p) {
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(4, 4, 16, 16), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 4, 10, 6));
    p.drawRect(QRectF(7, 13, 10, 7));
}

void draw(QPainter& p, int index) {
    p.setPen(QPen(kInk, 1.4));
    switch (index) {
    case 0: // prepare a memory measurement: a chip with a clock hand
        p.setBrush(QColor(0xdd, 0xe3, 0xea));
        p.drawRoundedRect(QRectF(5, 5, 14, 14), 2, 2);
        for (int i = 0; i < 3; ++i) {
            p.drawLine(QPointF(8 + 4 * i, 2), QPointF(8 + 4 * i, 5));
            p.drawLine(QPointF(8 + 4 * i, 19), QPointF(8 + 4 * i, 22));
        }
        p.setPen(QPen(kAmber, 2));
        p.drawLine(QPointF(12, 12), QPointF(12, 8));
        p.drawLine(QPointF(12, 12), QPointF(15, 13));
        break;
    case 2: // stop
        p.setPen(Qt::NoPen);
        p.setBrush(kRed);
        p.drawRoundedRect(QRectF(5, 5, 14, 14), 2, 2);
        break;
    case 3: // open: a folder
        p.setBrush(kAmber);
        p.drawRoundedRect(QRectF(3, 6, 18, 14), 2, 2);
        p.setBrush(QColor(0xf3, 0xc4, 0x5f));
        p.drawRect(QRectF(3, 9, 18, 11));
        break;
    case 4: floppy(p); break;
    case 5: floppy(p); badge(p, kGreen, QStringLiteral("+")); break;
    case 6: // print
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 3, 10, 7));
        p.setBrush(QColor(0x8a, 0x96, 0xa3));
        p.drawRoundedRect(QRectF(3, 9, 18, 9), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 15, 10, 6));
        break;
    case 8: sheet(p); badge(p, kGreen, QStringLiteral("+")); break;
    case 9: sheet(p); badge(p, kInk, QStringLiteral("×")); break;
    case 10: // clear: an eraser over a curve
        curve(p, kBlue);
        p.setPen(QPen(kInk, 1.4));
        p.setBrush(QColor(0xf0, 0x8c, 0x8c));
        p.drawPolygon(QPolygonF({QPointF(9, 20), QPointF(15, 12), QPointF(20, 16), QPointF(15, 22)}));
        break;
    case 11: // start
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawPolygon(QPolygonF({QPointF(6, 4), QPointF(20, 12), QPointF(6, 20)}));
        break;
    case 12: // settings: sliders
        for (int i = 0; i < 3; ++i) {
            p.drawLine(QPointF(4, 6 + 6 * i), QPointF(20, 6 + 6 * i));
            p.setBrush(kBlue);
            p.drawRect(QRectF(6 + 5 * i, 4 + 6 * i, 4, 4));
        }
        break;
    case 13: // delete: a bin
        p.setBrush(QColor(0xdd, 0xe3, 0xea));
        p.drawRect(QRectF(6, 7, 12, 14));
        p.drawLine(QPointF(4, 6), QPointF(20, 6));
        p.drawLine(QPointF(10, 4), QPointF(14, 4));
        p.setPen(QPen(kRed, 1.6));
        p.drawLine(QPointF(9, 10), QPointF(15, 18));
        p.drawLine(QPointF(15, 10), QPointF(9, 18));
        break;
    case 15: // append a value: grid row plus
    case 16: // delete a value
    case 21: // insert a value
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 4, 14, 14));
        p.drawLine(QPointF(3, 9), QPointF(17, 9));
        p.drawLine(QPointF(3, 13), QPointF(17, 13));
        badge(p, index == 16 ? kRed : kGreen,
              index == 16 ? QStringLiteral("−") : (index == 15 ? QStringLiteral("+") : QStringLiteral("›")));
        break;
    case 20: // show the reference band
        p.setPen(QPen(kInk, 1.4, Qt::DashLine));
        p.drawLine(QPointF(3, 8), QPointF(21, 8));
        p.drawLine(QPointF(3, 16), QPointF(21, 16));
        p.setPen(QPen(kRed, 2));
        p.drawLine(QPointF(3, 13), QPointF(21, 11));
        break;
    case 22: // choose a reference
        p.setPen(QPen(kInk, 1.4, Qt::DashLine));
        p.drawLine(QPointF(3, 7), QPointF(21, 7));
        p.drawLine(QPointF(3, 13), QPointF(21, 13));
        p.setPen(QPen(kInk, 1.4));
        p.setBrush(kAmber);
        p.drawRoundedRect(QRectF(10, 14, 11, 7), 1, 1);
        break;
    case 23: // interpolate: dots joined by a smooth curve
        curve(p, kBlue);
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        for (const QPointF& c : {QPointF(3, 18), QPointF(13, 6), QPointF(21, 14)}) p.drawEllipse(c, 2, 2);
        break;
    case 24: // automatic scaling: arrows to the corners
        p.setPen(QPen(kInk, 1.6));
        p.drawRect(QRectF(7, 7, 10, 10));
        for (const auto& [a, b] : {std::pair{QPointF(7, 7), QPointF(3, 3)}, std::pair{QPointF(17, 17), QPointF(21, 21)},
                                   std::pair{QPointF(17, 7), QPointF(21, 3)}, std::pair{QPointF(7, 17), QPointF(3, 21)}})
            p.drawLine(a, b);
        break;
    case 25: // spreadsheet export
        p.setBrush(QColor(0x1f, 0x7a, 0x45));
        p.drawRoundedRect(QRectF(4, 3, 16, 18), 2, 2);
        p.setPen(QPen(Qt::white, 1.2));
        for (int i = 0; i < 3; ++i) p.drawLine(QPointF(6, 8 + 4 * i), QPointF(18, 8 + 4 * i));
        p.drawLine(QPointF(11, 5), QPointF(11, 19));
        break;
    case 27: // extract a reference from a curve
        curve(p, kRed);
        p.setPen(QPen(kInk, 1.2, Qt::DashLine));
        p.drawLine(QPointF(3, 21), QPointF(21, 21));
        badge(p, kBlue, QStringLiteral("R"));
        break;
    case 31: // run the analysis: bands under a curve
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xf6, 0xc3, 0x5b));
        p.drawRect(QRectF(8, 3, 6, 18));
        curve(p, kRed);
        break;
    case 32: // prepare the analysis
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xf6, 0xc3, 0x5b));
        p.drawRect(QRectF(3, 3, 18, 5));
        p.setBrush(QColor(0x9b, 0xd1, 0x8b));
        p.drawRect(QRectF(3, 10, 18, 5));
        p.setBrush(QColor(0x8e, 0xb8, 0xe8));
        p.drawRect(QRectF(3, 17, 18, 4));
        break;
    case 34: // markers on or off
    case 35: // edit markers
        p.setPen(QPen(kInk, 1.4));
        p.drawLine(QPointF(8, 3), QPointF(8, 21));
        p.setBrush(kRed);
        p.drawPolygon(QPolygonF({QPointF(8, 4), QPointF(18, 7), QPointF(8, 11)}));
        if (index == 35) badge(p, kBlue, QStringLiteral("…"));
        break;
    default: // anything else: a small sheet
        sheet(p);
        break;
    }
}
} // namespace

QIcon ActionIcon(int index) {
    static QHash<int, QIcon> cache;
    if (const auto it = cache.constFind(index); it != cache.constEnd()) return *it;
    QIcon icon;
    for (const int size : {24, 48}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 24.0, size / 24.0);
        draw(p, index);
        p.end();
        icon.addPixmap(pm);
    }
    cache.insert(index, icon);
    return icon;
}
