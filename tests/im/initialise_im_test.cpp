#include <gtest/gtest.h>

#include "im/image_search.h"
#include "im/initialise_im.h"
#include "recording_window_system.h"
#include "sandbox/im/sim_im_client.h"
#include "temp_dir.h"

using namespace varnel::im;
using namespace varnel::sandbox;
using varnel::testing::RecordingWindowSystem;

namespace {

class InitialiseIm : public ::testing::Test {
 protected:
  // The operator is told (box, guide window or label) before the log line is written.
  ImInitOutcome run(WindowSystem& ws, const std::string& market_user = "seller") {
    events_.clear();
    return initialise_im(
        ws, im_, market_user, [&](const std::string& line) { events_.push_back("log " + line); },
        [&](ImInitOutcome o) { events_.push_back("tell " + std::to_string(static_cast<int>(o))); });
  }
  void expect_windows_of(const ChatWindowHandles& chat) {
    EXPECT_EQ(im_.send_pane, chat.send_pane);
    EXPECT_EQ(im_.chat_input, chat.input);
    EXPECT_EQ(im_.toolbar, chat.toolbar);
  }
  static std::vector<std::string> told(ImInitOutcome o, const std::string& line) {
    return {"tell " + std::to_string(static_cast<int>(o)), "log " + line};
  }

  varnel::testing::TempDir dir_;
  SimDesktop desktop_;
  SimImClient client_{desktop_, dir_.path()};
  ImWindows im_;
  std::vector<std::string> events_;
};

TEST_F(InitialiseIm, FindsTheChatWindowsAndTheButton) {
  const ChatWindowHandles chat = client_.open_chat_window({{300, 120}, {100, 5}, "买家"});
  ASSERT_EQ(run(desktop_), ImInitOutcome::succeeded);
  expect_windows_of(chat);
  EXPECT_EQ(im_.send_to_user_point, (Point{100, 21}));
  EXPECT_EQ(im_.send_to_user_point, client_.send_to_user_anchor(chat.chat));
  EXPECT_EQ(events_, told(ImInitOutcome::succeeded, "旺旺初始化--成功!"));

  // Again, with an unchanged client: the same handles and point.
  const ImWindows first = im_;
  im_ = {};
  ASSERT_EQ(run(desktop_), ImInitOutcome::succeeded);
  EXPECT_EQ(im_, first);
}

TEST_F(InitialiseIm, WithoutAChatWindowEveryStepStillRunsAndTheWholeScreenIsSearched) {
  // The button picture shown by another program, and a hidden top-level StandardWindow: neither is a chat window.
  const auto viewer = desktop_.start_process("viewer.exe");
  const WindowHandle picture = desktop_.create_window(viewer, 0, {"Viewer", "图片", {700, 400, 800, 440}, 0xFFFFFF});
  desktop_.add_picture(picture, {10, 10}, send_to_user_pixels());
  const WindowHandle hidden =
      desktop_.create_window(viewer, 0, {"StandardWindow", "", {0, 0, 10, 10}, 0xFFFFFF, false});

  RecordingWindowSystem ws(desktop_);
  ASSERT_EQ(run(ws), ImInitOutcome::failed);
  EXPECT_EQ(events_, told(ImInitOutcome::failed, "旺旺初始化--失败!"));

  // Steps B to D search under -1 and find nothing; E to H then search the top-level windows (parent 0), where
  // the hidden StandardWindow counts; J under -1 again, and K among the top-level windows.
  const std::vector<std::tuple<WindowHandle, WindowHandle, std::string, WindowHandle>> expected = {
      {-1, 0, "StandardButton", 0},   {-1, 0, "StandardWindow", 0},     {-1, 0, "StandardWindow", 0},
      {0, 0, "SplitterBar", 0},       {0, 0, "StandardWindow", hidden}, {0, hidden, "StandardWindow", 0},
      {0, 0, "RichEditComponent", 0}, {-1, 0, "StandardWindow", 0},     {0, 0, "ToolBarPlus", 0},
  };
  const auto searches = ws.child_searches();
  ASSERT_EQ(searches.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(searches[i].parent, std::get<0>(expected[i]));
    EXPECT_EQ(searches[i].after, std::get<1>(expected[i]));
    EXPECT_EQ(searches[i].class_name, std::get<2>(expected[i]));
    EXPECT_EQ(searches[i].result, std::get<3>(expected[i]));
  }
  EXPECT_EQ(ws.captures(), (std::vector<varnel::testing::Capture>{{0, 0, 1920, 1080}}));
  EXPECT_EQ(im_.send_pane, 0);
  EXPECT_EQ(im_.chat_input, 0);
  EXPECT_EQ(im_.toolbar, 0);
  // Found on the screen, in screen coordinates, yet a failure without the input and the toolbar.
  EXPECT_EQ(im_.send_to_user_point, (Point{710, 426}));
}

TEST_F(InitialiseIm, TheFrontmostOfTwoChatWindowsWins) {
  const ChatWindowHandles back = client_.open_chat_window({{100, 100}, {100, 5}, ""});
  const ChatWindowHandles front = client_.open_chat_window({{800, 300}, {200, 6}, ""});
  ASSERT_EQ(run(desktop_), ImInitOutcome::succeeded);
  expect_windows_of(front);
  EXPECT_EQ(im_.send_to_user_point, (Point{200, 22}));

  desktop_.bring_to_front(back.chat);
  ASSERT_EQ(run(desktop_), ImInitOutcome::succeeded);
  expect_windows_of(back);
  EXPECT_EQ(im_.send_to_user_point, (Point{100, 21}));
}

TEST_F(InitialiseIm, AHiddenButtonFailsButKeepsTheHandles) {
  struct Case {
    const char* name;
    std::function<void(const ChatWindowHandles&)> hide;
  };
  const std::vector<Case> cases = {
      {"toolbar covered by another window", [&](const ChatWindowHandles& c) { client_.cover_toolbar(c.chat, true); }},
      {"chat window off the screen",
       [&](const ChatWindowHandles& c) {
         desktop_.move_window(c.chat, {-700, 100});
       }},
      {"chat window below the screen",
       [&](const ChatWindowHandles& c) {
         desktop_.move_window(c.chat, {300, 1050});
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ChatWindowHandles chat = client_.open_chat_window();
    ASSERT_EQ(run(desktop_), ImInitOutcome::succeeded);
    c.hide(chat);
    ASSERT_EQ(run(desktop_), ImInitOutcome::failed);
    EXPECT_EQ(events_, told(ImInitOutcome::failed, "旺旺初始化--失败!"));
    expect_windows_of(chat);
    EXPECT_EQ(im_.send_to_user_point, kNotFound);
    client_.close_chat_window(chat.chat);
  }
}

TEST_F(InitialiseIm, AButtonCutOffByTheToolbarEdgeIsNotFound) {
  const ChatWindowHandles chat = client_.open_chat_window({{300, 120}, {kChatWindowSize.width - 60, 5}, ""});
  ASSERT_EQ(run(desktop_), ImInitOutcome::failed);
  expect_windows_of(chat);
  EXPECT_EQ(im_.send_to_user_point, kNotFound);
}

TEST_F(InitialiseIm, NotLoggedInToTheMarketplaceLeavesEverythingAsItWas) {
  client_.open_chat_window();
  im_ = {11, 22, 33, {4, 5}};
  RecordingWindowSystem ws(desktop_);
  ASSERT_EQ(run(ws, ""), ImInitOutcome::not_logged_in);
  EXPECT_EQ(events_, told(ImInitOutcome::not_logged_in, "初始化旺旺--失败!"));
  EXPECT_EQ(im_, (ImWindows{11, 22, 33, {4, 5}}));
  EXPECT_EQ(ws.enumerations(), 0);
  EXPECT_TRUE(ws.captures().empty());
}

}  // namespace
