// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's 25 icons (32 × 32 PNG) into the current folder. The
// PNG files beside this source are its output; run it again after changing
// the artwork:
//   g++ -std=c++20 -fPIC draw_icons.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/draw_icons
//   (cd data/icons && QT_QPA_PLATFORM=offscreen /tmp/draw_icons)
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>

namespace {

const QColor kInk(40, 48, 60);
const QColor kSea(30, 110, 180);
const QColor kPaper(250, 250, 245);
const QColor kGreen(40, 150, 70);
const QColor kRed(200, 50, 40);
const QColor kAmber(240, 180, 30);

QPen Ink(qreal w = 1.5) { return QPen(kInk, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

// A handheld radio: body, antenna, display and speaker grille.
void Radio(QPainter& p, QRectF body) {
  p.setPen(Ink(2));
  p.drawLine(QPointF(body.left() + body.width() * 0.25, body.top()),
             QPointF(body.left() + body.width() * 0.25, body.top() - body.height() * 0.35));
  p.setBrush(QColor(70, 80, 95));
  p.setPen(Ink(1.2));
  p.drawRoundedRect(body, 2.5, 2.5);
  p.setBrush(QColor(170, 220, 200));
  const QRectF screen(body.left() + 2.5, body.top() + 3, body.width() - 5, body.height() * 0.28);
  p.drawRect(screen);
  p.setPen(QPen(QColor(200, 205, 210), 1));
  for (int i = 0; i < 3; ++i) {
    const qreal y = screen.bottom() + 3 + i * 2.5;
    if (y > body.bottom() - 2) break;
    p.drawLine(QPointF(body.left() + 3, y), QPointF(body.right() - 3, y));
  }
}

void Page(QPainter& p, QColor fill, bool lines) {
  QPainterPath page;
  page.moveTo(7, 3);
  page.lineTo(20, 3);
  page.lineTo(26, 9);
  page.lineTo(26, 29);
  page.lineTo(7, 29);
  page.closeSubpath();
  p.setPen(Ink());
  p.setBrush(fill);
  p.drawPath(page);
  p.setBrush(QColor(220, 220, 210));
  QPainterPath fold;
  fold.moveTo(20, 3);
  fold.lineTo(20, 9);
  fold.lineTo(26, 9);
  fold.closeSubpath();
  p.drawPath(fold);
  if (lines) {
    p.setPen(QPen(kSea, 1.5));
    for (int y = 13; y <= 25; y += 4) p.drawLine(10, y, 23, y);
  }
}

void Folder(QPainter& p, bool open) {
  p.setPen(Ink());
  p.setBrush(QColor(230, 190, 90));
  QPainterPath back;
  back.moveTo(3, 8);
  back.lineTo(12, 8);
  back.lineTo(15, 11);
  back.lineTo(29, 11);
  back.lineTo(29, 27);
  back.lineTo(3, 27);
  back.closeSubpath();
  p.drawPath(back);
  p.setBrush(QColor(250, 215, 120));
  QPainterPath front;
  if (open) {
    front.moveTo(3, 27);
    front.lineTo(8, 15);
    front.lineTo(31, 15);
    front.lineTo(29, 27);
  } else {
    front.moveTo(3, 14);
    front.lineTo(29, 14);
    front.lineTo(29, 27);
    front.lineTo(3, 27);
  }
  front.closeSubpath();
  p.drawPath(front);
}

void Arrow(QPainter& p, QPointF from, QPointF to, QColor colour, qreal width = 3) {
  p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(from, to);
  const QLineF line(to, from);
  QLineF a = line;
  a.setLength(6);
  a.setAngle(line.angle() + 35);
  QLineF b = line;
  b.setLength(6);
  b.setAngle(line.angle() - 35);
  p.drawLine(a);
  p.drawLine(b);
}

void Bar(QPainter& p, qreal y) {
  p.setPen(QPen(kSea, 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(8, y), QPointF(24, y));
}

void Connector(QPainter& p, int digit) {
  p.setPen(Ink());
  p.setBrush(QColor(180, 185, 195));
  QPainterPath shell;  // a nine-pin serial connector seen from the front
  shell.moveTo(3, 6);
  shell.lineTo(29, 6);
  shell.lineTo(25, 17);
  shell.lineTo(7, 17);
  shell.closeSubpath();
  p.drawPath(shell);
  p.setBrush(kInk);
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 5; ++i) p.drawEllipse(QPointF(8 + i * 4, 10), 1.1, 1.1);
  for (int i = 0; i < 4; ++i) p.drawEllipse(QPointF(10 + i * 4, 13.5), 1.1, 1.1);
  QFont f;
  f.setPixelSize(13);
  f.setBold(true);
  p.setFont(f);
  p.setPen(kSea);
  p.drawText(QRectF(0, 17, 32, 15), Qt::AlignCenter, QString::number(digit));
}

void Warning(QPainter& p) {
  QPainterPath t;
  t.moveTo(24, 15);
  t.lineTo(31, 30);
  t.lineTo(17, 30);
  t.closeSubpath();
  p.setPen(QPen(kInk, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(kAmber);
  p.drawPath(t);
  p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(24, 20), QPointF(24, 25));
  p.drawPoint(QPointF(24, 28));
}

void Error(QPainter& p) {
  p.setPen(QPen(Qt::white, 1.2));
  p.setBrush(kRed);
  p.drawEllipse(QPointF(24, 24), 7, 7);
  p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(21, 21), QPointF(27, 27));
  p.drawLine(QPointF(27, 21), QPointF(21, 27));
}

struct Icon {
  const char* name;
  std::function<void(QPainter&)> draw;
};

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const Icon icons[] = {
      {"imgIcon_Tree_Rig", [](QPainter& p) { Radio(p, QRectF(10, 9, 12, 21)); }},
      {"imgIcon_Tree_Folder01", [](QPainter& p) { Folder(p, false); }},
      {"imgIcon_Tree_Note01", [](QPainter& p) { Page(p, kPaper, true); }},
      {"imgIcon_Tree_Note02",
       [](QPainter& p) {
         Page(p, QColor(225, 238, 250), false);
         p.setPen(QPen(kSea, 1.5));
         for (int i = 0; i < 3; ++i) {
           const int y = 14 + i * 5;
           p.drawLine(10, y, 23, y);
           p.setBrush(kPaper);
           p.drawEllipse(QPointF(12 + i * 5, y), 2, 2);
         }
       }},
      {"imgIcon_Tree_WarnW_RB", [](QPainter& p) { Warning(p); }},
      {"imgIcon_Tree_WarnE_RB", [](QPainter& p) { Error(p); }},
      {"imgIcon_Bar_File_New",
       [](QPainter& p) {
         Page(p, kPaper, false);
         // A sparkle at the corner: something new.
         p.setPen(QPen(kAmber, 2.2, Qt::SolidLine, Qt::RoundCap));
         const QPointF c(23, 23);
         for (int a = 0; a < 180; a += 45) {
           QLineF ray(c, c + QPointF(6, 0));
           ray.setAngle(a);
           p.drawLine(QLineF(c - (ray.p2() - c), ray.p2()));
         }
       }},
      {"imgIcon_Bar_File_Open", [](QPainter& p) { Folder(p, true); }},
      {"imgIcon_Bar_File_Save",
       [](QPainter& p) {
         p.setPen(Ink());
         p.setBrush(kSea);
         p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
         p.setBrush(kPaper);
         p.drawRect(QRectF(8, 4, 16, 9));
         p.setBrush(QColor(200, 205, 210));
         p.drawRect(QRectF(9, 18, 14, 10));
         p.setBrush(kInk);
         p.drawRect(QRectF(18, 6, 3, 5));
       }},
      {"imgIcon_Bar_Com1", [](QPainter& p) { Connector(p, 1); }},
      {"imgIcon_Bar_Com2", [](QPainter& p) { Connector(p, 2); }},
      {"imgIcon_Bar_Com3", [](QPainter& p) { Connector(p, 3); }},
      {"imgIcon_Bar_Com4", [](QPainter& p) { Connector(p, 4); }},
      {"imgIcon_Bar_Clone_Read",
       [](QPainter& p) {
         Radio(p, QRectF(4, 10, 11, 19));
         Arrow(p, QPointF(18, 19), QPointF(29, 19), kGreen);
       }},
      {"imgIcon_Bar_Clone_Write",
       [](QPainter& p) {
         Radio(p, QRectF(17, 10, 11, 19));
         Arrow(p, QPointF(3, 19), QPointF(14, 19), kRed);
       }},
      {"imgIcon_Bar_Clone_Info",
       [](QPainter& p) {
         Radio(p, QRectF(4, 10, 11, 19));
         p.setPen(QPen(Qt::white, 1.2));
         p.setBrush(kSea);
         p.drawEllipse(QPointF(23, 20), 7, 7);
         p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
         p.drawLine(QPointF(23, 19), QPointF(23, 24));
         p.drawPoint(QPointF(23, 16));
       }},
      {"imgIcon_Bar_Pcg_Pen",
       [](QPainter& p) {
         p.setPen(Ink(1.2));
         p.setBrush(kAmber);
         QPainterPath pen;
         pen.moveTo(22, 4);
         pen.lineTo(28, 10);
         pen.lineTo(11, 27);
         pen.lineTo(5, 21);
         pen.closeSubpath();
         p.drawPath(pen);
         p.setBrush(kPaper);
         QPainterPath tip;
         tip.moveTo(5, 21);
         tip.lineTo(11, 27);
         tip.lineTo(3, 29);
         tip.closeSubpath();
         p.drawPath(tip);
       }},
      {"imgIcon_Bar_Pcg_Fill",
       [](QPainter& p) {
         p.setPen(Ink(1.2));
         p.setBrush(QColor(200, 205, 210));
         QPainterPath bucket;
         bucket.moveTo(6, 12);
         bucket.lineTo(16, 4);
         bucket.lineTo(26, 14);
         bucket.lineTo(16, 24);
         bucket.closeSubpath();
         p.drawPath(bucket);
         p.setBrush(kSea);
         p.setPen(Qt::NoPen);
         QPainterPath drop;
         drop.moveTo(27, 17);
         drop.cubicTo(30, 22, 30, 27, 27, 27);
         drop.cubicTo(24, 27, 24, 22, 27, 17);
         p.drawPath(drop);
         p.drawRect(QRectF(3, 28, 26, 2));
       }},
      {"imgIcon_Bar_Pcg_Slider",
       [](QPainter& p) {
         p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap));
         p.drawLine(4, 11, 28, 11);
         p.drawLine(4, 22, 28, 22);
         p.setPen(Ink(1.2));
         p.setBrush(kSea);
         p.drawRoundedRect(QRectF(17, 6, 6, 10), 1.5, 1.5);
         p.drawRoundedRect(QRectF(8, 17, 6, 10), 1.5, 1.5);
       }},
      {"imgIcon_Bar_Page_Top",
       [](QPainter& p) {
         Bar(p, 6);
         Arrow(p, QPointF(16, 28), QPointF(16, 11), kInk);
       }},
      {"imgIcon_Bar_Page_Previous",
       [](QPainter& p) { Arrow(p, QPointF(16, 26), QPointF(16, 7), kInk); }},
      {"imgIcon_Bar_Page_Next",
       [](QPainter& p) { Arrow(p, QPointF(16, 6), QPointF(16, 25), kInk); }},
      {"imgIcon_Bar_Page_Last",
       [](QPainter& p) {
         Bar(p, 26);
         Arrow(p, QPointF(16, 4), QPointF(16, 21), kInk);
       }},
      {"imgIcon_Bar_Page_Zoom",
       [](QPainter& p) {
         p.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap));
         p.drawLine(QPointF(19, 19), QPointF(28, 28));
         p.setPen(Ink(2));
         p.setBrush(QColor(210, 235, 250));
         p.drawEllipse(QPointF(13, 13), 8.5, 8.5);
         p.setPen(QPen(kSea, 2, Qt::SolidLine, Qt::RoundCap));
         p.drawLine(QPointF(9, 13), QPointF(17, 13));
         p.drawLine(QPointF(13, 9), QPointF(13, 17));
       }},
      {"imgIcon_Bar_Find_Radio",
       [](QPainter& p) {
         Radio(p, QRectF(4, 10, 11, 19));
         // A magnifying glass over the cable's end: the port is being looked for.
         p.setPen(QPen(kInk, 3.5, Qt::SolidLine, Qt::RoundCap));
         p.drawLine(QPointF(24, 23), QPointF(29, 29));
         p.setPen(Ink(1.8));
         p.setBrush(QColor(210, 235, 250));
         p.drawEllipse(QPointF(21, 18), 6.5, 6.5);
         p.setPen(QPen(kGreen, 1.6, Qt::SolidLine, Qt::RoundCap));
         p.drawArc(QRectF(17, 14, 8, 8), 30 * 16, 120 * 16);
       }},
  };
  for (const Icon& icon : icons) {
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    icon.draw(p);
    p.end();
    if (!image.save(QString::fromLatin1(icon.name) + QStringLiteral(".png"))) {
      std::fprintf(stderr, "cannot write %s.png\n", icon.name);
      return 1;
    }
  }
  return 0;
}
