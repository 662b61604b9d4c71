#pragma once
// The simulated IM client's chat window: the tree of windows with the client's class names, and pixels in
// which its toolbar shows the send-to-user button.

#include <cstdint>
#include <string>

#include "sandbox/im/sim_desktop.h"

namespace varnel::sandbox {

inline constexpr Size kChatWindowSize{560, 480};
inline constexpr Size kSendToUserButtonSize{72, 17};
// The client's theme colour, also the button picture's background.
inline constexpr std::uint32_t kThemeColour = 0xD8EFF6;

struct ChatWindowLayout {
  Point position{240, 160};  // top-left corner on the screen
  Point button_at{100, 5};   // the send-to-user button's top-left corner in toolbar client coordinates
  std::string partner;       // the chat shown at first; empty: none
};

struct ChatWindowHandles {
  WindowHandle chat = 0;  // the top-level "StandardWindow"
  WindowHandle top_pane = 0;
  WindowHandle toolbar = 0;
  WindowHandle close_button = 0;
  WindowHandle history = 0;
  WindowHandle send_pane = 0;
  WindowHandle splitter = 0;
  WindowHandle tools_pane = 0;
  WindowHandle input_pane = 0;
  WindowHandle input = 0;
  friend bool operator==(const ChatWindowHandles&, const ChatWindowHandles&) = default;
};

ChatWindowHandles create_chat_window(SimDesktop& desktop, std::uint32_t process_id, const ChatWindowLayout& layout);

// The button picture as the screen shows it.
ScreenPixels send_to_user_pixels();

}  // namespace varnel::sandbox
