#pragma once
// Opening a chat with a buyer in the IM client and sending it a text, by window messages alone.
// Both may be called from any thread; the waits keep a window thread's events running.

#include <string_view>

#include "im/im_windows.h"
#include "im/window_system.h"
#include "text/timing.h"

namespace varnel::im {

enum class ChatOutcome {
  ready,                  // the chat window shows the buyer's chat (or whatever it showed before)
  verification_required,  // the client asked to add the buyer as a friend first
};

// Dialog captions, each found as a part of a "#32770" dialog's title.
inline constexpr const char* kSendToUserTitle = "指定用户发送";
inline constexpr const char* kImMessageBoxTitle = "阿里旺旺";
inline constexpr const char* kAddFriendTitle = "添加好友";

// Puts the nick into the send-to-user dialog's field and presses Return there; nothing when the dialog is
// not open.
void enter_nick(WindowSystem& ws, std::string_view buyer_nick);

// Clicks the toolbar's send-to-user button, enters the nick, and closes the client's "阿里旺旺" box (entering
// the nick once more) and its add-friend dialog when they show. Takes two waits of chat_open_wait_ms.
ChatOutcome open_buyer_chat(WindowSystem& ws, const ImWindows& im, std::string_view buyer_nick, const Timing& timing);

// Replaces the chat input's content with `text` and presses Return on the send pane.
void send_chat_message(WindowSystem& ws, const ImWindows& im, std::string_view text);

}  // namespace varnel::im
