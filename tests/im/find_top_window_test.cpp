#include <gtest/gtest.h>

#include "im/find_top_window.h"
#include "recording_window_system.h"
#include "sandbox/im/sim_desktop.h"

using namespace varnel::im;
using varnel::sandbox::SimDesktop;

namespace {

class FindTopWindow : public ::testing::Test {
 protected:
  FindTopWindow() {
    im_ = desktop_.start_process("AliIM.exe");
    other_ = desktop_.start_process("notepad.exe");
    // Made back to front: each new top-level window goes in front.
    chat_back_ = desktop_.create_window(im_, 0, {"StandardWindow", "买家甲", {0, 0, 50, 50}});
    box_ = desktop_.create_window(im_, 0, {"#32770", "阿里旺旺", {0, 0, 50, 50}});
    longer_ = desktop_.create_window(other_, 0, {"#32770", "阿里旺旺 - 提示", {0, 0, 50, 50}});
    hidden_ = desktop_.create_window(other_, 0, {"StandardWindow", "隐藏", {0, 0, 50, 50}, 0xFFFFFF, false});
    chat_front_ = desktop_.create_window(im_, 0, {"StandardWindow", "买家乙", {0, 0, 50, 50}});
  }

  SimDesktop desktop_;
  std::uint32_t im_ = 0, other_ = 0;
  WindowHandle chat_back_ = 0, box_ = 0, longer_ = 0, hidden_ = 0, chat_front_ = 0;
};

TEST_F(FindTopWindow, EachCriterionAndTheirCombination) {
  struct Case {
    const char* process;
    const char* class_name;
    const char* title;
    WindowHandle expected;
  };
  const std::vector<Case> cases = {
      {"", "StandardWindow", "", chat_front_},  // frontmost wins; the hidden one is skipped
      {"", "StandardWindow", "买家甲", chat_back_},
      {"", "", "阿里旺旺", longer_},  // a part of a longer title
      {"", "", "'阿里旺旺'", box_},   // apostrophes demand the whole title
      {"", "#32770", "'阿里旺旺 - 提示'", longer_},
      {"", "#32770", "'阿里旺旺", longer_},       // both titles start with it: the front one
      {"", "#32770", "提示'", longer_},           // or end with it
      {"aliim.exe", "#32770", "阿里旺旺", box_},  // process names compare lower-cased
      {"ALIIM.EXE", "", "", chat_front_},
      {"notepad.exe", "StandardWindow", "", -1},  // its StandardWindow is hidden
      {"", "standardwindow", "", -1},             // class names are case-sensitive
      {"", "", "没有这个窗口", -1},
      {"nothing.exe", "", "", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.process) + "|" + c.class_name + "|" + c.title);
    EXPECT_EQ(find_top_window(desktop_, c.process, c.class_name, c.title), c.expected);
  }
}

TEST_F(FindTopWindow, ListsOnlyWhatItsCriteriaNeed) {
  varnel::testing::RecordingWindowSystem ws(desktop_);
  EXPECT_EQ(find_top_window(ws, "", "", ""), 0);
  EXPECT_EQ(ws.enumerations(), 0);
  EXPECT_EQ(find_top_window(ws, "", "#32770", ""), longer_);
  EXPECT_EQ(ws.enumerations(), 1);
  EXPECT_EQ(ws.process_listings(), 0);
  EXPECT_EQ(find_top_window(ws, "AliIM.exe", "", ""), chat_front_);
  EXPECT_EQ(ws.process_listings(), 1);
}

TEST_F(FindTopWindow, FollowsTheZOrder) {
  desktop_.bring_to_front(chat_back_);
  EXPECT_EQ(find_top_window(desktop_, "", "StandardWindow", ""), chat_back_);
  desktop_.destroy_window(chat_back_);
  EXPECT_EQ(find_top_window(desktop_, "", "StandardWindow", ""), chat_front_);
}

}  // namespace
