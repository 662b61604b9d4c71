// Draws the send-to-user toolbar button (a person with a green arrow and the words 指定发送 on light blue)
// and writes it as a 72 x 17, 32-bit BMP file of 4,950 bytes:
//   QT_QPA_PLATFORM=offscreen make_send_to_user_bmp resources/im/send_to_user_pattern.bmp
// The text is drawn with the installed CJK font (fonts-wqy-microhei), so the result depends on the machine;
// the picture the program uses is the committed one.

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

constexpr int kWidth = 72;
constexpr int kHeight = 17;

QImage draw_button() {
  QImage face(kWidth, kHeight, QImage::Format_RGB32);
  face.fill(QColor(216, 239, 246));
  QPainter p(&face);

  // The person: head and shoulders.
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(52, 96, 168));
  p.drawEllipse(QRect(3, 2, 6, 6));
  QPainterPath shoulders;
  shoulders.moveTo(1, 15);
  shoulders.cubicTo(1, 9, 11, 9, 11, 15);
  shoulders.closeSubpath();
  p.drawPath(shoulders);

  // The green arrow pointing right, over the shoulder.
  p.setBrush(QColor(36, 160, 52));
  const QPoint arrow[] = {{10, 9}, {14, 9}, {14, 6}, {18, 11}, {14, 16}, {14, 13}, {10, 13}};
  p.drawPolygon(arrow, 7);

  QFont font("WenQuanYi Micro Hei");
  font.setPixelSize(12);
  font.setStyleStrategy(QFont::NoAntialias);
  p.setFont(font);
  p.setPen(QColor(68, 68, 68));
  p.drawText(QRect(21, 0, kWidth - 21, kHeight), Qt::AlignVCenter | Qt::AlignLeft, QString::fromUtf8("指定发送"));
  p.end();
  return face;
}

void put16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

void put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::string bmp_bytes(const QImage& face) {
  const std::uint32_t pixel_bytes = kWidth * kHeight * 4;
  std::string out;
  out += "BM";
  put32(out, 54 + pixel_bytes);
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);
  put32(out, kWidth);
  put32(out, kHeight);  // positive: bottom row first
  put16(out, 1);
  put16(out, 32);
  put32(out, 0);  // no compression
  put32(out, 0);  // image size may be 0 without compression
  put32(out, 3780);
  put32(out, 3780);
  put32(out, 0);
  put32(out, 0);
  for (int y = kHeight - 1; y >= 0; --y) {
    for (int x = 0; x < kWidth; ++x) {
      const QRgb c = face.pixel(x, y);
      out.push_back(static_cast<char>(qBlue(c)));
      out.push_back(static_cast<char>(qGreen(c)));
      out.push_back(static_cast<char>(qRed(c)));
      out.push_back(0);
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.bmp\n", argv[0]);
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const std::string bytes = bmp_bytes(draw_button());
  std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
