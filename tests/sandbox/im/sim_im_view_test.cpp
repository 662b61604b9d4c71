#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "im/window_messages.h"
#include "sandbox/im/sim_im_view.h"
#include "temp_dir.h"

using namespace varnel::sandbox;
namespace im = varnel::im;

namespace {

TEST(SimImView, ShowsTheFrontChatItsInputTheDialogsAndTheTranscript) {
  int argc = 1;
  char name[] = "sandbox_im_view_tests";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  varnel::testing::TempDir dir;
  SimDesktop desktop;
  SimImClient client(desktop, dir.path());
  SimImView view(desktop, client);
  EXPECT_EQ(view.windowTitle(), "模拟旺旺");
  auto* partner = view.findChild<QLabel*>("模拟旺旺聊天对象");
  auto* input = view.findChild<QLineEdit*>("模拟旺旺输入框");
  auto* dialogs = view.findChild<QLabel*>("模拟旺旺对话框");
  auto* transcript = view.findChild<QListWidget*>("模拟旺旺聊天记录");
  auto* toolbar = view.findChild<QLabel*>("模拟旺旺工具栏");
  ASSERT_TRUE(partner && input && dialogs && transcript && toolbar);
  EXPECT_TRUE(toolbar->pixmap().isNull());

  const ChatWindowHandles chat = client.open_chat_window({{0, 0}, {100, 5}, "买家"});
  client.type_into_input(chat.chat, "卡密 123");
  // Changes made on other threads reach the view through its event queue.
  QTRY_COMPARE(input->text(), QString("卡密 123"));
  EXPECT_EQ(partner->text(), "聊天对象: 买家");
  EXPECT_EQ(toolbar->pixmap().width(), desktop.client_rect(chat.toolbar)->width());

  desktop.post_message(chat.send_pane, im::kWmKeyDown, im::kVkReturn, im::kReturnKeyLParam);
  client.wait_idle();
  QTRY_COMPARE(transcript->count(), 1);
  EXPECT_EQ(transcript->item(0)->text(), "买家\t卡密 123");
  EXPECT_EQ(input->text(), "");

  desktop.post_message(chat.toolbar, im::kWmLButtonDown, 1, im::point_lparam(110, 10));
  desktop.post_message(chat.toolbar, im::kWmLButtonUp, 0, im::point_lparam(110, 10));
  client.wait_idle();
  QTRY_COMPARE(dialogs->text(), QString("对话框: 指定用户发送"));
}

}  // namespace
