#include "app/im_guide_window.h"

#include <QByteArray>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "im/send_to_user_pattern.h"

namespace varnel::app {
namespace {

// Drawn for the 368 x 352 picture box, of which the window shows the part from (40, 32) on.
QPixmap placement_picture() {
  QPixmap picture(368, 352);
  picture.fill(QColor(236, 240, 244));
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);

  // The screen, with the chat window in its upper left part.
  p.setPen(QPen(QColor(90, 98, 110), 2));
  p.setBrush(QColor(58, 110, 165));
  p.drawRoundedRect(QRect(52, 44, 300, 220), 6, 6);
  const QRect chat(68, 60, 220, 180);
  p.setPen(QPen(QColor(60, 60, 60), 1));
  p.setBrush(QColor(216, 239, 246));
  p.drawRect(chat);
  p.setBrush(Qt::white);
  p.drawRect(QRect(chat.left() + 6, chat.top() + 44, chat.width() - 12, 84));   // the chat history
  p.drawRect(QRect(chat.left() + 6, chat.top() + 134, chat.width() - 12, 40));  // the input

  // The toolbar with the send-to-user button, framed: it must be on screen and not covered.
  const QByteArray bmp(im::send_to_user_pattern().data(), static_cast<int>(im::send_to_user_pattern().size()));
  const QImage button = QImage::fromData(bmp, "BMP");
  const QPoint button_at(chat.left() + 40, chat.top() + 22);
  p.drawImage(button_at, button);
  p.setPen(QPen(QColor(220, 30, 30), 2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRect(button_at - QPoint(3, 3), button.size() + QSize(6, 6)));

  // The stand, and the captions.
  p.setPen(QPen(QColor(90, 98, 110), 2));
  p.drawLine(202, 264, 202, 290);
  p.drawLine(160, 290, 244, 290);
  p.setPen(QColor(40, 40, 40));
  QFont font = p.font();
  font.setPixelSize(13);
  p.setFont(font);
  p.drawText(QRect(52, 300, 300, 20), Qt::AlignCenter, "聊天窗口打开在屏幕上,工具栏不被遮挡");
  p.setPen(QColor(220, 30, 30));
  p.drawText(QRect(button_at.x() + button.width() + 8, button_at.y(), 90, button.height()), Qt::AlignVCenter,
             "此按钮须可见");
  p.end();
  return picture;
}

}  // namespace

ImGuideWindow::ImGuideWindow(QWidget* owner) : QDialog(owner) {
  setObjectName("旺旺位置窗口");
  setWindowTitle(QString());
  setFixedSize(540, 358);
  move(50, 50);

  auto* picture = new QLabel(this);
  picture->setObjectName("旺旺位置图片框");
  picture->setGeometry(-40, -32, 368, 352);
  picture->setPixmap(placement_picture());

  auto* placement = new QLabel("请参照正确放置位置", this);
  placement->move(336, 56);
  placement->adjustSize();
  auto* reminder = new QLabel("每次关闭旺旺,都需要重新初始旺旺!", this);
  reminder->setGeometry(360, 184, 170, 48);
  reminder->setWordWrap(true);

  auto* ok = new QPushButton("确  定", this);
  ok->setObjectName("旺旺位置按钮");
  ok->setGeometry(384, 112, 88, 32);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace varnel::app
