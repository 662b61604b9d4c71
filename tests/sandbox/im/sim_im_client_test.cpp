#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "im/find_top_window.h"
#include "im/window_messages.h"
#include "sandbox/im/sim_im_client.h"
#include "temp_dir.h"

using namespace varnel::sandbox;
namespace im = varnel::im;

namespace {

class SimImClientTest : public ::testing::Test {
 protected:
  SimImClientTest() { chat_ = client_.open_chat_window({{200, 100}, {100, 5}, "老顾客"}); }

  void click(WindowHandle window, Point down, Point up) {
    desktop_.post_message(window, im::kWmLButtonDown, im::kMkLButton, im::point_lparam(down.x, down.y));
    desktop_.post_message(window, im::kWmLButtonUp, 0, im::point_lparam(up.x, up.y));
    client_.wait_idle();
  }
  void press_return(WindowHandle window) {
    desktop_.post_message(window, im::kWmKeyDown, im::kVkReturn, im::kReturnKeyLParam);
    client_.wait_idle();
  }
  WindowHandle dialog(const char* title) { return im::find_top_window(desktop_, "", "#32770", title); }
  void enter(const std::string& nick) {
    const WindowHandle field = desktop_.find_window_ex(dialog("'指定用户发送'"), 0, "EditComponent");
    ASSERT_GT(field, 0);
    desktop_.send_set_text(field, nick);
    press_return(field);
  }
  void open_dialog() { click(chat_.toolbar, {110, 10}, {110, 10}); }

  varnel::testing::TempDir dir_;
  SimDesktop desktop_;
  SimImClient client_{desktop_, dir_.path()};
  ChatWindowHandles chat_;
};

TEST_F(SimImClientTest, TheChatWindowHasTheClientsClassChain) {
  EXPECT_EQ(im::find_top_window(desktop_, "aliim.exe", "StandardWindow", "'老顾客'"), chat_.chat);
  EXPECT_EQ(desktop_.find_window_ex(chat_.chat, 0, "StandardWindow"), chat_.top_pane);
  EXPECT_EQ(desktop_.find_window_ex(chat_.top_pane, 0, "ToolBarPlus"), chat_.toolbar);
  EXPECT_EQ(desktop_.find_window_ex(chat_.chat, 0, "StandardButton"), chat_.close_button);
  const WindowHandle after_button = desktop_.find_window_ex(chat_.chat, chat_.close_button, "StandardWindow");
  EXPECT_EQ(desktop_.find_window_ex(chat_.chat, after_button, "StandardWindow"), chat_.send_pane);
  EXPECT_EQ(desktop_.find_window_ex(chat_.send_pane, 0, "SplitterBar"), chat_.splitter);
  EXPECT_EQ(desktop_.find_window_ex(chat_.splitter, chat_.tools_pane, "StandardWindow"), chat_.input_pane);
  EXPECT_EQ(desktop_.find_window_ex(chat_.input_pane, 0, "RichEditComponent"), chat_.input);
}

TEST_F(SimImClientTest, OnlyAClickOnTheButtonOpensTheDialog) {
  click(chat_.toolbar, {99, 10}, {99, 10});    // just left of it
  click(chat_.toolbar, {110, 10}, {300, 10});  // released elsewhere
  click(chat_.toolbar, {110, 22}, {110, 22});  // just below it
  click(chat_.history, {110, 10}, {110, 10});  // another window
  EXPECT_EQ(dialog("指定用户发送"), -1);
  click(chat_.toolbar, {171, 21}, {171, 21});  // its bottom-right pixel
  const WindowHandle d = dialog("'指定用户发送'");
  ASSERT_GT(d, 0);
  EXPECT_EQ(desktop_.window_thread_process_id(d).process_id, client_.process_id());
  EXPECT_GT(desktop_.find_window_ex(d, 0, "EditComponent"), 0);
  EXPECT_EQ(client_.history(), (std::vector<std::string>{"dialog opened"}));
}

TEST_F(SimImClientTest, EnteringANickOpensItsChat) {
  open_dialog();
  enter("买家甲");
  EXPECT_EQ(dialog("指定用户发送"), -1);
  EXPECT_EQ(client_.chat_partner(chat_.chat), "买家甲");
  EXPECT_EQ(desktop_.window_text(chat_.chat), "买家甲");
}

TEST_F(SimImClientTest, VerifyNicksGetTheAddFriendDialogAndBusyNicksAMessageBoxFirst) {
  open_dialog();
  enter("verify-乙");
  EXPECT_EQ(dialog("指定用户发送"), -1);
  const WindowHandle add_friend = dialog("'添加好友'");
  ASSERT_GT(add_friend, 0);
  EXPECT_EQ(client_.chat_partner(chat_.chat), "老顾客");
  desktop_.post_message(add_friend, im::kWmClose, 0, 0);
  client_.wait_idle();
  EXPECT_FALSE(desktop_.is_window(add_friend));

  open_dialog();
  enter("busy-丙");
  const WindowHandle box = dialog("'阿里旺旺'");
  ASSERT_GT(box, 0);
  EXPECT_GT(dialog("指定用户发送"), 0);  // stays open for another try
  desktop_.post_message(box, im::kWmClose, 0, 0);
  enter("busy-丙");
  EXPECT_EQ(dialog("阿里旺旺"), -1);
  EXPECT_EQ(client_.chat_partner(chat_.chat), "busy-丙");
}

TEST_F(SimImClientTest, ReturnOnTheSendPaneSendsTheInputToTheChat) {
  press_return(chat_.send_pane);  // empty input: nothing
  client_.type_into_input(chat_.chat, "第一行\r\n第二行");
  press_return(chat_.input);  // Return on the input itself does not send
  EXPECT_EQ(client_.chat_input_text(chat_.chat), "第一行\r\n第二行");
  press_return(chat_.send_pane);
  EXPECT_EQ(client_.chat_input_text(chat_.chat), "");
  EXPECT_EQ(client_.transcript(), (std::vector<std::string>{"老顾客\t第一行\\n第二行"}));

  const ChatWindowHandles nobody = client_.open_chat_window({{800, 100}, {100, 5}, ""});
  client_.type_into_input(nobody.chat, "to nobody");
  press_return(nobody.send_pane);
  EXPECT_EQ(client_.transcript().size(), 1u);
  EXPECT_EQ(client_.history().back(), "nothing sent");
}

TEST(TranscriptLine, WritesEveryLineBreakAsBackslashN) {
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"买家", "卡号:1 密码:2", "买家\t卡号:1 密码:2"},
      {"a", "x\r\ny\r\n", "a\tx\\ny\\n"},
      {"a", "x\ny\rz", "a\tx\\ny\\nz"},
      {"a", "\r\r\n", "a\t\\n\\n"},
      {"two\nlines", "t\tab", "two\\nlines\tt\tab"},
  };
  for (const auto& [nick, text, line] : cases) EXPECT_EQ(transcript_line(nick, text), line);
}

TEST(SimImClientRuns, TheTranscriptKeepsEarlierRunsAndAnEndedClientLeavesNoWindows) {
  varnel::testing::TempDir dir;
  SimDesktop desktop;
  for (const char* text : {"one", "two"}) {
    SimImClient client(desktop, dir.path());
    const ChatWindowHandles chat = client.open_chat_window({{0, 0}, {100, 5}, "买家"});
    client.type_into_input(chat.chat, text);
    desktop.post_message(chat.send_pane, im::kWmKeyDown, im::kVkReturn, im::kReturnKeyLParam);
    client.wait_idle();
  }
  EXPECT_EQ(im::find_top_window(desktop, "", "StandardWindow", ""), -1);
  std::ifstream file(dir.file("im-transcript.txt"), std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_EQ(all, "买家\tone\n买家\ttwo\n");
}

TEST_F(SimImClientTest, ClosingTheChatWindowMakesItsHandlesStale) {
  client_.cover_toolbar(chat_.chat, true);
  client_.close_chat_window(chat_.chat);
  EXPECT_FALSE(desktop_.is_window(chat_.chat));
  EXPECT_FALSE(desktop_.is_window(chat_.input));
  EXPECT_TRUE(client_.chat_windows().empty());
  EXPECT_EQ(im::find_top_window(desktop_, "", "Notepad", ""), -1);  // the cover went with it
  EXPECT_FALSE(desktop_.send_set_text(chat_.input, "x"));
}

// Posts, set-texts and the client's own work from several threads at once.
TEST_F(SimImClientTest, StaysConsistentUnderConcurrentUse) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i) {
        desktop_.send_set_text(chat_.input, "m" + std::to_string(t));
        desktop_.post_message(chat_.send_pane, im::kWmKeyDown, im::kVkReturn, im::kReturnKeyLParam);
        desktop_.post_message(chat_.toolbar, im::kWmLButtonDown, 1, im::point_lparam(110, 10));
        desktop_.post_message(chat_.toolbar, im::kWmLButtonUp, 0, im::point_lparam(110, 10));
        (void)client_.chat_input_text(chat_.chat);
      }
    });
  }
  for (auto& t : threads) t.join();
  client_.wait_idle();
  const auto lines = client_.transcript();
  EXPECT_GE(lines.size(), 1u);
  EXPECT_LE(lines.size(), 800u);
  for (const std::string& line : lines) EXPECT_EQ(line.rfind("老顾客\tm", 0), 0u) << line;
  EXPECT_GT(dialog("指定用户发送"), 0);
}

}  // namespace
