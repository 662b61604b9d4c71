#include "sandbox/im/sim_im_view.h"

#include <algorithm>

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaObject>
#include <QPixmap>
#include <QStringList>
#include <QVBoxLayout>

#include "im/find_top_window.h"

namespace varnel::sandbox {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

QImage to_image(const ScreenPixels& shown) {
  QImage image(shown.width, shown.height, QImage::Format_RGB32);
  for (int y = 0; y < shown.height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < shown.width; ++x)
      line[x] = 0xFF000000u | shown.pixels[static_cast<size_t>(y) * shown.width + x];
  }
  return image;
}

}  // namespace

SimImView::SimImView(SimDesktop& desktop, SimImClient& client, QWidget* parent)
    : QWidget(parent), desktop_(desktop), client_(client) {
  setObjectName("模拟旺旺");
  setWindowTitle("模拟旺旺");
  auto* layout = new QVBoxLayout(this);
  toolbar_ = new QLabel(this);
  toolbar_->setObjectName("模拟旺旺工具栏");
  toolbar_->setMinimumHeight(28);
  partner_ = new QLabel(this);
  partner_->setObjectName("模拟旺旺聊天对象");
  input_ = new QLineEdit(this);
  input_->setObjectName("模拟旺旺输入框");
  input_->setReadOnly(true);
  dialogs_ = new QLabel(this);
  dialogs_->setObjectName("模拟旺旺对话框");
  transcript_ = new QListWidget(this);
  transcript_->setObjectName("模拟旺旺聊天记录");
  layout->addWidget(toolbar_);
  layout->addWidget(partner_);
  layout->addWidget(input_);
  layout->addWidget(dialogs_);
  layout->addWidget(new QLabel("聊天记录:", this));
  layout->addWidget(transcript_);
  resize(kChatWindowSize.width + 24, 420);

  // Changes come from the client's thread or the program's workers; the view redraws on its own thread.
  listener_ = desktop_.add_change_listener(
      [this] { QMetaObject::invokeMethod(this, &SimImView::refresh, Qt::QueuedConnection); });
  refresh();
}

SimImView::~SimImView() { desktop_.remove_change_listener(listener_); }

void SimImView::refresh() {
  // The front chat window is the one the program drives.
  const WindowHandle front = im::find_top_window(desktop_, kImExecutable, "StandardWindow", "");
  const auto chats = client_.chat_windows();
  const auto chat =
      std::find_if(chats.begin(), chats.end(), [&](const ChatWindowHandles& c) { return c.chat == front; });
  if (chat == chats.end()) {
    toolbar_->setPixmap({});
    toolbar_->setText("(没有聊天窗口)");
    partner_->clear();
    input_->clear();
  } else {
    if (auto rect = desktop_.screen_rect(chat->toolbar)) {
      toolbar_->setPixmap(
          QPixmap::fromImage(to_image(desktop_.capture_screen(rect->left, rect->top, rect->width(), rect->height()))));
    }
    const std::string partner = client_.chat_partner(chat->chat);
    partner_->setText("聊天对象: " + (partner.empty() ? QString("(无)") : qt(partner)));
    input_->setText(qt(client_.chat_input_text(chat->chat)));
  }

  QStringList open;
  for (WindowHandle window : desktop_.enum_windows()) {
    if (desktop_.window_thread_process_id(window).process_id == client_.process_id() &&
        desktop_.class_name(window) == "#32770" && desktop_.is_window_visible(window)) {
      open << qt(desktop_.window_text(window));
    }
  }
  dialogs_->setText("对话框: " + (open.isEmpty() ? QString("(无)") : open.join(", ")));

  const auto lines = client_.transcript();
  transcript_->clear();
  for (const std::string& line : lines) transcript_->addItem(qt(line));
  transcript_->scrollToBottom();
}

}  // namespace varnel::sandbox
