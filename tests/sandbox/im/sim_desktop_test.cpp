#include <gtest/gtest.h>

#include <thread>

#include "im/window_messages.h"
#include "sandbox/im/sim_desktop.h"
#include "sandbox/im/sim_message_loop.h"

using namespace varnel::sandbox;

namespace {

class SimDesktopTest : public ::testing::Test {
 protected:
  SimDesktopTest() {
    app_ = desktop_.start_process("App.exe");
    top_ = desktop_.create_window(app_, 0, {"Frame", "窗口", {100, 50, 300, 250}, 0x0000FF});
    a_ = desktop_.create_window(app_, top_, {"Pane", "a", {10, 10, 60, 60}, 0x00FF00});
    b_ = desktop_.create_window(app_, top_, {"Button", "b", {0, 0, 20, 20}});
    c_ = desktop_.create_window(app_, top_, {"Pane", "c", {100, 100, 150, 150}});
    inner_ = desktop_.create_window(app_, a_, {"Edit", "", {5, 5, 100, 100}, 0xFF0000});
  }
  SimDesktop desktop_;
  std::uint32_t app_ = 0;
  WindowHandle top_ = 0, a_ = 0, b_ = 0, c_ = 0, inner_ = 0;
};

TEST_F(SimDesktopTest, FindsChildrenByClassAfterASibling) {
  EXPECT_EQ(desktop_.find_window_ex(top_, 0, "Pane"), a_);
  EXPECT_EQ(desktop_.find_window_ex(top_, a_, "Pane"), c_);
  EXPECT_EQ(desktop_.find_window_ex(top_, b_, "Pane"), c_);
  EXPECT_EQ(desktop_.find_window_ex(top_, c_, "Pane"), 0);
  EXPECT_EQ(desktop_.find_window_ex(top_, 0, "Edit"), 0);       // only direct children
  EXPECT_EQ(desktop_.find_window_ex(top_, inner_, "Pane"), 0);  // not a child of top_
  EXPECT_EQ(desktop_.find_window_ex(-1, 0, "Pane"), 0);
  EXPECT_EQ(desktop_.find_window_ex(0, 0, "Frame"), top_);  // the top-level windows
  desktop_.show_window(top_, false);
  EXPECT_EQ(desktop_.find_window_ex(0, 0, "Frame"), top_);  // visible or not
  EXPECT_EQ(desktop_.find_window("Progman", "Program Manager") > 0, true);
  EXPECT_EQ(desktop_.find_window("Frame", "窗"), 0);  // the whole title
}

TEST_F(SimDesktopTest, ZOrderVisibilityAndDestruction) {
  const WindowHandle front = desktop_.create_window(app_, 0, {"Frame", "front", {0, 0, 10, 10}});
  EXPECT_EQ(desktop_.enum_windows().front(), front);
  desktop_.bring_to_front(top_);
  EXPECT_EQ(desktop_.enum_windows().front(), top_);
  EXPECT_EQ(desktop_.class_name(desktop_.enum_windows().back()), "Progman");

  EXPECT_TRUE(desktop_.is_window_visible(inner_));
  desktop_.show_window(a_, false);
  EXPECT_FALSE(desktop_.is_window_visible(inner_));
  EXPECT_TRUE(desktop_.is_window_visible(c_));

  desktop_.destroy_window(a_);
  EXPECT_FALSE(desktop_.is_window(a_));
  EXPECT_FALSE(desktop_.is_window(inner_));
  EXPECT_EQ(desktop_.find_window_ex(top_, 0, "Pane"), c_);
  EXPECT_FALSE(desktop_.client_rect(inner_));
  EXPECT_EQ(desktop_.window_thread_process_id(inner_).process_id, 0u);
}

TEST_F(SimDesktopTest, GeometryAndProcesses) {
  EXPECT_EQ(desktop_.client_to_screen(inner_, {1, 2}), (Point{100 + 10 + 5 + 1, 50 + 10 + 5 + 2}));
  EXPECT_EQ(desktop_.client_rect(inner_), (Rect{0, 0, 95, 95}));
  EXPECT_EQ(desktop_.window_thread_process_id(inner_).process_id, app_);
  EXPECT_NE(desktop_.window_thread_process_id(inner_).thread_id, 0u);
  bool listed = false;
  for (const auto& p : desktop_.processes()) listed |= p.process_id == app_ && p.exe_file == "App.exe";
  EXPECT_TRUE(listed);
}

TEST_F(SimDesktopTest, CaptureShowsWhatIsInFrontClippedToParentsAndScreen) {
  auto at = [&](int x, int y) { return desktop_.capture_screen(x, y, 1, 1).pixels.at(0); };
  EXPECT_EQ(at(100 + 30, 50 + 1), 0x0000FFu);           // the frame
  EXPECT_EQ(at(100 + 12, 50 + 12), 0x00FF00u);          // pane a over it
  EXPECT_EQ(at(100 + 10 + 5, 50 + 10 + 5), 0xFF0000u);  // the edit inside a
  EXPECT_EQ(at(100 + 62, 50 + 30), 0x0000FFu);          // the edit clipped to a
  desktop_.add_picture(top_, {190, 0}, {20, 1, std::vector<std::uint32_t>(20, 0x123456)});
  EXPECT_EQ(at(100 + 195, 50), 0x123456u);
  EXPECT_NE(at(100 + 200, 50), 0x123456u);  // clipped to the frame

  const WindowHandle cover =
      desktop_.create_window(desktop_.start_process("x.exe"), 0, {"Cover", "", {100, 50, 120, 70}, 0x00FFFF});
  EXPECT_EQ(at(100 + 12, 50 + 12), 0x00FFFFu);
  desktop_.destroy_window(cover);
  EXPECT_EQ(at(100 + 12, 50 + 12), 0x00FF00u);

  desktop_.move_window(top_, {1900, 50});
  const auto strip = desktop_.capture_screen(1910, 50 + 70, 20, 1);
  EXPECT_EQ(strip.pixels[9], 0x0000FFu);
  EXPECT_EQ(strip.pixels[10], 0u);  // past the screen's edge: black
  EXPECT_TRUE(desktop_.capture_screen(0, 0, 0, 5).pixels.empty());
}

TEST_F(SimDesktopTest, PostedMessagesAreHandledInOrderOnTheProcessThread) {
  std::vector<std::uintptr_t> seen;
  std::thread::id handled_on;
  SimMessageLoop loop([&](const PostedMessage& m) {
    seen.push_back(m.wparam);
    handled_on = std::this_thread::get_id();
  });
  desktop_.set_message_sink(app_, loop.sink());
  for (std::uintptr_t i = 1; i <= 50; ++i) EXPECT_TRUE(desktop_.post_message(b_, varnel::im::kWmKeyDown, i, 0));
  loop.wait_idle();
  ASSERT_EQ(seen.size(), 50u);
  for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], i + 1);
  EXPECT_NE(handled_on, std::this_thread::get_id());

  EXPECT_TRUE(desktop_.post_message(0, varnel::im::kWmKeyDown, 99, 0));  // to the caller's own queue
  EXPECT_FALSE(desktop_.post_message(-1, varnel::im::kWmKeyDown, 99, 0));
  loop.wait_idle();
  EXPECT_EQ(seen.size(), 50u);
  desktop_.set_message_sink(app_, {});
}

TEST_F(SimDesktopTest, SetTextIsDoneWhenItReturns) {
  EXPECT_TRUE(desktop_.send_set_text(inner_, "买家 text"));
  EXPECT_EQ(desktop_.window_text(inner_), "买家 text");
  EXPECT_FALSE(desktop_.send_set_text(-1, "x"));
}

}  // namespace
