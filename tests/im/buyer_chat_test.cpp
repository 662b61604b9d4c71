#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "im/buyer_chat.h"
#include "im/find_top_window.h"
#include "im/image_search.h"
#include "im/initialise_im.h"
#include "im/window_actions.h"
#include "im/window_messages.h"
#include "recording_window_system.h"
#include "sandbox/im/sim_im_client.h"
#include "temp_dir.h"

using namespace varnel::im;
using namespace varnel::sandbox;
using varnel::testing::Posted;
using varnel::testing::RecordingWindowSystem;

namespace {

TEST(PostClick, PostsTheMouseMessagesOfEachAction) {
  SimDesktop desktop;
  const WindowHandle w = desktop.create_window(desktop.start_process("x.exe"), 0, {"X", "", {300, 200, 400, 300}});
  const std::intptr_t at = 30 + 40 * 65536;
  struct Case {
    ClickAction action;
    std::vector<Posted> expected;
  };
  const std::vector<Case> cases = {
      {ClickAction::click, {{w, kWmMouseMove, 2, at}, {w, kWmLButtonDown, 1, at}, {w, kWmLButtonUp, 0, at}}},
      {ClickAction::double_click,
       {{w, kWmMouseMove, 2, at}, {w, kWmLButtonDown, 1, at}, {w, kWmLButtonUp, 0, at}, {w, kWmLButtonDblClk, 0, at}}},
      {ClickAction::press, {{w, kWmMouseMove, 2, at}, {w, kWmLButtonDown, 1, at}}},
      {ClickAction::release, {{w, kWmMouseMove, 2, at}, {w, kWmLButtonUp, 0, at}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.action));
    RecordingWindowSystem ws(desktop);
    post_click(ws, w, 30, 40, c.action);
    EXPECT_EQ(ws.posted(), c.expected);
  }
}

TEST(PostClick, ThePointIsCutToThirtyTwoBits) {
  struct Case {
    int x, y;
    std::intptr_t lparam;
    int read_x, read_y;
  };
  const std::vector<Case> cases = {
      {100, 21, 100 + 21 * 65536, 100, 21},
      {-1, -1, -65537, -1, -2},  // a button that was not found
      {-1, 0, -1, -1, -1},
      {32768, 32768, -2147450880, -32768, -32768},
      {65536 * 3 + 5, 0, 65536 * 3 + 5, 5, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    EXPECT_EQ(point_lparam(c.x, c.y), c.lparam);
    EXPECT_EQ(lparam_x(c.lparam), c.read_x);
    EXPECT_EQ(lparam_y(c.lparam), c.read_y);
  }
}

TEST(PostClick, WindowZeroIsTheDesktopIconListAndMissingCoordinatesComeFromTheCursor) {
  SimDesktop desktop;
  const WindowHandle icons = desktop.find_window_ex(
      desktop.find_window_ex(desktop.find_window("Progman", "Program Manager"), 0, "SHELLDLL_DefView"), 0,
      "SysListView32");
  ASSERT_GT(icons, 0);
  const WindowHandle w = desktop.create_window(desktop.start_process("x.exe"), 0, {"X", "", {300, 200, 400, 300}});
  desktop.set_cursor_pos({350, 260});
  RecordingWindowSystem ws(desktop);

  post_click(ws, 0, 7, 8, ClickAction::press);
  post_click(ws, w, std::nullopt, std::nullopt, ClickAction::press);
  post_click(ws, w, 5, std::nullopt, ClickAction::press);
  post_click(ws, 0, std::nullopt, std::nullopt, ClickAction::press);
  const auto posted = ws.posted();
  ASSERT_EQ(posted.size(), 8u);
  EXPECT_EQ(posted[1], (Posted{icons, kWmLButtonDown, 1, point_lparam(7, 8)}));
  EXPECT_EQ(posted[3], (Posted{w, kWmLButtonDown, 1, point_lparam(50, 60)}));
  EXPECT_EQ(posted[5], (Posted{w, kWmLButtonDown, 1, point_lparam(5, 60)}));
  EXPECT_EQ(posted[7], (Posted{icons, kWmLButtonDown, 1, point_lparam(350, 260)}));
}

TEST(CloseWindowIfAny, PostsCloseOnlyToAWindow) {
  SimDesktop desktop;
  const WindowHandle w = desktop.create_window(desktop.start_process("x.exe"), 0, {"X", "", {0, 0, 10, 10}});
  RecordingWindowSystem ws(desktop);
  close_window_if_any(ws, w);
  close_window_if_any(ws, -1);
  close_window_if_any(ws, 0);
  close_window_if_any(ws, w + 2);
  EXPECT_EQ(ws.posted(), (std::vector<Posted>{{w, kWmClose, 0, 0}}));
}

// The simulated client with one chat window (showing the chat with "老顾客") found by initialisation.
class BuyerChat : public ::testing::Test {
 protected:
  void SetUp() override {
    chat_ = client_.open_chat_window({{300, 120}, {100, 5}, "老顾客"});
    ASSERT_EQ(initialise_im(desktop_, im_, "seller", {}), ImInitOutcome::succeeded);
    ws_.set_after_post([this] { client_.wait_idle(); });
    timing_.chat_open_wait_ms = 10;
  }
  std::vector<std::string> transcript_file() {
    std::ifstream file(dir_.file("im-transcript.txt"), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
  }
  bool dialog_open(const char* title) { return find_top_window(desktop_, "", "#32770", title) > 0; }

  varnel::testing::TempDir dir_;
  SimDesktop desktop_;
  SimImClient client_{desktop_, dir_.path()};
  RecordingWindowSystem ws_{desktop_};
  ChatWindowHandles chat_;
  ImWindows im_;
  varnel::Timing timing_;
};

TEST_F(BuyerChat, ChineseNickAndMessageArriveUnchanged) {
  ASSERT_EQ(open_buyer_chat(ws_, im_, "买家小王", timing_), ChatOutcome::ready);
  EXPECT_EQ(client_.chat_partner(chat_.chat), "买家小王");
  EXPECT_FALSE(dialog_open("指定用户发送"));
  send_chat_message(ws_, im_, "您好,卡号:AB12 密码:九九\r\n请查收!");
  EXPECT_EQ(transcript_file(), (std::vector<std::string>{"买家小王\t您好,卡号:AB12 密码:九九\\n请查收!"}));
  EXPECT_EQ(client_.chat_input_text(chat_.chat), "");
  // The Return key goes to the send pane, not to the input.
  EXPECT_EQ(ws_.posted().back(), (Posted{im_.send_pane, kWmKeyDown, kVkReturn, 0x18}));
}

TEST_F(BuyerChat, ABuyerWhoRequiresVerificationGetsNothingTyped) {
  client_.type_into_input(chat_.chat, "草稿");
  ASSERT_EQ(open_buyer_chat(ws_, im_, "verify-张三", timing_), ChatOutcome::verification_required);
  EXPECT_FALSE(dialog_open("添加好友"));  // closed again
  EXPECT_EQ(client_.chat_partner(chat_.chat), "老顾客");
  EXPECT_EQ(client_.chat_input_text(chat_.chat), "草稿");
  for (const auto& [window, text] : ws_.texts_set()) EXPECT_NE(window, im_.chat_input);
}

TEST_F(BuyerChat, TheClientsMessageBoxIsClosedAndTheNickEnteredAgain) {
  ASSERT_EQ(open_buyer_chat(ws_, im_, "busy-李四", timing_), ChatOutcome::ready);
  EXPECT_EQ(client_.history(),
            (std::vector<std::string>{"dialog opened", "nick entered: busy-李四", "message box: busy-李四",
                                      "closed: 阿里旺旺", "nick entered: busy-李四", "chat opened: busy-李四"}));
  EXPECT_FALSE(dialog_open("阿里旺旺"));
  EXPECT_EQ(client_.chat_partner(chat_.chat), "busy-李四");
}

TEST_F(BuyerChat, AClickThatMissesStillGivesReadyAndTheTextGoesToTheChatShown) {
  // What a failed button search leaves: the handles, and the point (-1, -1).
  im_.send_to_user_point = kNotFound;
  ASSERT_EQ(open_buyer_chat(ws_, im_, "新买家", timing_), ChatOutcome::ready);
  EXPECT_EQ(ws_.posted().front(), (Posted{im_.toolbar, kWmMouseMove, 2, -65537}));
  EXPECT_TRUE(ws_.texts_set().empty());  // no dialog, so no nick entered
  send_chat_message(ws_, im_, "卡密");
  EXPECT_EQ(transcript_file(), (std::vector<std::string>{"老顾客\t卡密"}));
}

TEST_F(BuyerChat, TextAlreadyInTheInputIsReplaced) {
  client_.type_into_input(chat_.chat, "operator was typing");
  send_chat_message(ws_, im_, "第一条");
  client_.type_into_input(chat_.chat, "more");
  send_chat_message(ws_, im_, "第二条");
  EXPECT_EQ(transcript_file(), (std::vector<std::string>{"老顾客\t第一条", "老顾客\t第二条"}));
}

// As the delivery engine calls it: from a worker thread, against the client running on its own thread, with
// nothing but the waits between the steps.
TEST_F(BuyerChat, WorksFromAWorkerThreadWithRealWaits) {
  timing_.chat_open_wait_ms = 300;
  ChatOutcome first{}, second{};
  std::thread worker([&] {
    first = open_buyer_chat(desktop_, im_, "verify-王五", timing_);
    second = open_buyer_chat(desktop_, im_, "買家-繁體", timing_);
    send_chat_message(desktop_, im_, "ok");
  });
  worker.join();
  client_.wait_idle();
  EXPECT_EQ(first, ChatOutcome::verification_required);
  EXPECT_EQ(second, ChatOutcome::ready);
  EXPECT_TRUE(desktop_.is_window(im_.chat_input));
  EXPECT_EQ(transcript_file(), (std::vector<std::string>{"買家-繁體\tok"}));
}

}  // namespace
