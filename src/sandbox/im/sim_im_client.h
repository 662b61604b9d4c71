#pragma once
// The simulated AliWangwang client on a simulated desktop, as the program sees the real one:
// - chat windows with the client's chain of window classes, whose toolbar shows the send-to-user button;
// - posted messages handled on the client's own thread, in order;
// - a click on the button opens the "指定用户发送" dialog; Return in its "EditComponent" opens the chat with the
//   nick typed there, except that a nick beginning with "verify-" gets the "添加好友" dialog instead and one
//   beginning with "busy-" first gets an "阿里旺旺" message box (the dialog stays open for another try);
// - Return on a chat window's send pane sends the input's text to its chat, appends it to the transcript and
//   empties the input.
// Thread-safe. Change listeners of the desktop must not call back into the client.

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "sandbox/im/sim_chat_window.h"
#include "sandbox/im/sim_desktop.h"
#include "sandbox/im/sim_message_loop.h"
#include "sandbox/im/sim_transcript.h"

namespace varnel::sandbox {

inline constexpr const char* kImExecutable = "AliIM.exe";
inline constexpr const char* kVerifyPrefix = "verify-";
inline constexpr const char* kBusyPrefix = "busy-";

class SimImClient {
 public:
  // The transcript goes to im-transcript.txt in `run_dir`.
  SimImClient(SimDesktop& desktop, const std::filesystem::path& run_dir);
  // The client ends: its windows disappear.
  ~SimImClient();
  SimImClient(const SimImClient&) = delete;
  SimImClient& operator=(const SimImClient&) = delete;

  // A new chat window in front of all others.
  ChatWindowHandles open_chat_window(const ChatWindowLayout& layout = {});
  void close_chat_window(WindowHandle chat);
  // The open chat windows, in the order they were opened.
  std::vector<ChatWindowHandles> chat_windows() const;
  // Where the button search answers for a chat window: the bottom-left pixel of the button picture, in
  // toolbar client coordinates.
  std::optional<Point> send_to_user_anchor(WindowHandle chat) const;
  // Puts (true) or takes away (false) a window of another program exactly over the chat window's toolbar.
  void cover_toolbar(WindowHandle chat, bool covered);

  std::string chat_partner(WindowHandle chat) const;
  std::string chat_input_text(WindowHandle chat) const;
  // What the operator types into the input by hand.
  void type_into_input(WindowHandle chat, std::string_view text);

  std::vector<std::string> transcript() const { return transcript_.lines(); }
  // What the client did, one entry per event ("dialog opened", "nick entered: x", "message box: x",
  // "add friend: x", "chat opened: x", "message sent: x", "nothing sent", "closed: title").
  std::vector<std::string> history() const;

  // Returns once every message posted so far has been handled.
  void wait_idle() { loop_->wait_idle(); }
  std::uint32_t process_id() const { return process_id_; }

 private:
  struct Chat {
    ChatWindowHandles handles;
    Point button_at;
    std::string partner;
    std::optional<Point> pressed_at;
    WindowHandle cover = 0;
  };
  struct SendToUserDialog {
    WindowHandle dialog = 0;
    WindowHandle field = 0;
    WindowHandle for_chat = 0;
    std::set<std::string> warned;  // busy nicks that have had their message box
  };

  void handle(const PostedMessage& message);
  void on_toolbar_mouse(Chat& chat, const PostedMessage& message);
  void on_nick_entered();
  void on_send(Chat& chat);
  void on_close(WindowHandle window);
  void open_send_to_user_dialog(Chat& chat);
  WindowHandle open_box(const std::string& title, const std::string& text);
  Chat* chat_by(WindowHandle ChatWindowHandles::*role, WindowHandle window);
  const Chat* chat_by(WindowHandle chat) const;
  void note(std::string event);

  SimDesktop& desktop_;
  SimTranscript transcript_;
  std::uint32_t process_id_ = 0;
  std::uint32_t other_program_ = 0;

  mutable std::mutex lock_;
  std::vector<Chat> chats_;
  std::optional<SendToUserDialog> dialog_;
  std::set<WindowHandle> boxes_;
  std::vector<std::string> history_;

  std::unique_ptr<SimMessageLoop> loop_;
};

}  // namespace varnel::sandbox
