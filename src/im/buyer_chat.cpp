#include "im/buyer_chat.h"

#include "im/find_top_window.h"
#include "im/pump_delay.h"
#include "im/window_actions.h"
#include "im/window_messages.h"

namespace varnel::im {
namespace {

constexpr const char* kDialogClass = "#32770";

void press_return(WindowSystem& ws, WindowHandle window) {
  ws.post_message(window, kWmKeyDown, kVkReturn, kReturnKeyLParam);
}

}  // namespace

void enter_nick(WindowSystem& ws, std::string_view buyer_nick) {
  const WindowHandle dialog = find_top_window(ws, "", kDialogClass, kSendToUserTitle);
  if (dialog == -1) return;
  const WindowHandle field = ws.find_window_ex(dialog, 0, "EditComponent");
  ws.send_set_text(field, buyer_nick);
  press_return(ws, field);
}

ChatOutcome open_buyer_chat(WindowSystem& ws, const ImWindows& im, std::string_view buyer_nick, const Timing& timing) {
  post_click(ws, im.toolbar, im.send_to_user_point.x, im.send_to_user_point.y, ClickAction::click);
  pump_delay(timing.chat_open_wait_ms);
  enter_nick(ws, buyer_nick);
  pump_delay(timing.chat_open_wait_ms);

  const WindowHandle message_box = find_top_window(ws, "", kDialogClass, kImMessageBoxTitle);
  if (message_box > 0) {
    close_window_if_any(ws, message_box);
    enter_nick(ws, buyer_nick);
  }
  const WindowHandle add_friend = find_top_window(ws, "", kDialogClass, kAddFriendTitle);
  if (add_friend > 0) {
    close_window_if_any(ws, add_friend);
    return ChatOutcome::verification_required;
  }
  return ChatOutcome::ready;
}

void send_chat_message(WindowSystem& ws, const ImWindows& im, std::string_view text) {
  ws.send_set_text(im.chat_input, text);
  press_return(ws, im.send_pane);
}

}  // namespace varnel::im
