#pragma once
// The IM client's windows that sending a chat message needs, as the last initialisation found them.

#include "im/window_system.h"

namespace varnel::im {

struct ImWindows {
  WindowHandle send_pane = 0;      // the chat window's pane that sends the input on Return
  WindowHandle chat_input = 0;     // the message input ("RichEditComponent")
  WindowHandle toolbar = 0;        // the chat window's toolbar ("ToolBarPlus")
  Point send_to_user_point{0, 0};  // the send-to-user button in toolbar client coordinates; (-1, -1): not found

  friend bool operator==(const ImWindows&, const ImWindows&) = default;
};

}  // namespace varnel::im
