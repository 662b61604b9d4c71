#include "sandbox/im/sim_im_client.h"

#include <algorithm>

#include "im/window_messages.h"

namespace varnel::sandbox {
namespace {

constexpr const char* kDialogClass = "#32770";
constexpr std::uint32_t kDialogColour = 0xF0F0F0;

bool is_return(const PostedMessage& m) { return m.message == im::kWmKeyDown && m.wparam == im::kVkReturn; }

bool starts_with(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

bool inside(Point p, Point corner, Size size) {
  return p.x >= corner.x && p.y >= corner.y && p.x < corner.x + size.width && p.y < corner.y + size.height;
}

}  // namespace

SimImClient::SimImClient(SimDesktop& desktop, const std::filesystem::path& run_dir)
    : desktop_(desktop), transcript_(run_dir) {
  loop_ = std::make_unique<SimMessageLoop>([this](const PostedMessage& m) { handle(m); });
  process_id_ = desktop_.start_process(kImExecutable, loop_->sink());
  other_program_ = desktop_.start_process("notepad.exe");
}

SimImClient::~SimImClient() {
  desktop_.set_message_sink(process_id_, {});
  loop_.reset();
  std::lock_guard lock(lock_);
  for (const Chat& chat : chats_) {
    desktop_.destroy_window(chat.handles.chat);
    desktop_.destroy_window(chat.cover);
  }
  if (dialog_) desktop_.destroy_window(dialog_->dialog);
  for (WindowHandle box : boxes_) desktop_.destroy_window(box);
}

ChatWindowHandles SimImClient::open_chat_window(const ChatWindowLayout& layout) {
  std::lock_guard lock(lock_);
  Chat chat{create_chat_window(desktop_, process_id_, layout), layout.button_at, layout.partner, {}, 0};
  chats_.push_back(chat);
  return chat.handles;
}

void SimImClient::close_chat_window(WindowHandle chat) {
  desktop_.post_message(chat, im::kWmClose, 0, 0);
  wait_idle();
}

std::vector<ChatWindowHandles> SimImClient::chat_windows() const {
  std::lock_guard lock(lock_);
  std::vector<ChatWindowHandles> out;
  for (const Chat& chat : chats_) out.push_back(chat.handles);
  return out;
}

const SimImClient::Chat* SimImClient::chat_by(WindowHandle chat) const {
  auto it = std::find_if(chats_.begin(), chats_.end(), [&](const Chat& c) { return c.handles.chat == chat; });
  return it == chats_.end() ? nullptr : &*it;
}

SimImClient::Chat* SimImClient::chat_by(WindowHandle ChatWindowHandles::*role, WindowHandle window) {
  auto it = std::find_if(chats_.begin(), chats_.end(), [&](const Chat& c) { return c.handles.*role == window; });
  return it == chats_.end() ? nullptr : &*it;
}

std::optional<Point> SimImClient::send_to_user_anchor(WindowHandle chat) const {
  std::lock_guard lock(lock_);
  const Chat* c = chat_by(chat);
  if (!c) return std::nullopt;
  return Point{c->button_at.x, c->button_at.y + kSendToUserButtonSize.height - 1};
}

void SimImClient::cover_toolbar(WindowHandle chat, bool covered) {
  std::lock_guard lock(lock_);
  Chat* c = chat_by(&ChatWindowHandles::chat, chat);
  if (!c) return;
  if (!covered) {
    desktop_.destroy_window(c->cover);
    c->cover = 0;
    return;
  }
  if (c->cover != 0) return;
  if (auto rect = desktop_.screen_rect(c->handles.toolbar)) {
    c->cover = desktop_.create_window(other_program_, 0, {"Notepad", "无标题 - 记事本", *rect, 0xFFFFFF});
  }
}

std::string SimImClient::chat_partner(WindowHandle chat) const {
  std::lock_guard lock(lock_);
  const Chat* c = chat_by(chat);
  return c ? c->partner : std::string();
}

std::string SimImClient::chat_input_text(WindowHandle chat) const {
  std::lock_guard lock(lock_);
  const Chat* c = chat_by(chat);
  return c ? desktop_.window_text(c->handles.input) : std::string();
}

void SimImClient::type_into_input(WindowHandle chat, std::string_view text) {
  std::lock_guard lock(lock_);
  if (const Chat* c = chat_by(chat)) desktop_.send_set_text(c->handles.input, text);
}

std::vector<std::string> SimImClient::history() const {
  std::lock_guard lock(lock_);
  return history_;
}

void SimImClient::note(std::string event) { history_.push_back(std::move(event)); }

void SimImClient::handle(const PostedMessage& m) {
  std::lock_guard lock(lock_);
  if (m.message == im::kWmClose) {
    on_close(m.window);
  } else if (Chat* chat = chat_by(&ChatWindowHandles::toolbar, m.window)) {
    on_toolbar_mouse(*chat, m);
  } else if (dialog_ && m.window == dialog_->field && is_return(m)) {
    on_nick_entered();
  } else if (Chat* sending = chat_by(&ChatWindowHandles::send_pane, m.window); sending && is_return(m)) {
    on_send(*sending);
  }
}

void SimImClient::on_toolbar_mouse(Chat& chat, const PostedMessage& m) {
  const Point at{im::lparam_x(m.lparam), im::lparam_y(m.lparam)};
  if (m.message == im::kWmLButtonDown) {
    chat.pressed_at = at;
  } else if (m.message == im::kWmLButtonUp) {
    const bool clicked = chat.pressed_at && inside(*chat.pressed_at, chat.button_at, kSendToUserButtonSize) &&
                         inside(at, chat.button_at, kSendToUserButtonSize);
    chat.pressed_at.reset();
    if (clicked) open_send_to_user_dialog(chat);
  }
}

void SimImClient::open_send_to_user_dialog(Chat& chat) {
  if (dialog_) {
    dialog_->for_chat = chat.handles.chat;
    desktop_.bring_to_front(dialog_->dialog);
    return;
  }
  const Size screen = desktop_.display_size();
  const Point at{(screen.width - 320) / 2, (screen.height - 150) / 2};
  SendToUserDialog d;
  d.for_chat = chat.handles.chat;
  d.dialog = desktop_.create_window(
      process_id_, 0, {kDialogClass, "指定用户发送", {at.x, at.y, at.x + 320, at.y + 150}, kDialogColour});
  desktop_.create_window(process_id_, d.dialog, {"Static", "请输入对方的旺旺名:", {16, 20, 300, 40}, kDialogColour});
  d.field = desktop_.create_window(process_id_, d.dialog, {"EditComponent", "", {16, 48, 304, 72}, 0xFFFFFF});
  desktop_.create_window(process_id_, d.dialog, {"StandardButton", "确定", {220, 100, 300, 128}, 0xE1E1E1});
  dialog_ = std::move(d);
  note("dialog opened");
}

WindowHandle SimImClient::open_box(const std::string& title, const std::string& text) {
  const Size screen = desktop_.display_size();
  const Point at{(screen.width - 280) / 2 + 40, (screen.height - 130) / 2 + 40};
  const WindowHandle box = desktop_.create_window(
      process_id_, 0, {kDialogClass, title, {at.x, at.y, at.x + 280, at.y + 130}, kDialogColour});
  desktop_.create_window(process_id_, box, {"Static", text, {16, 20, 264, 60}, kDialogColour});
  desktop_.create_window(process_id_, box, {"StandardButton", "确定", {180, 84, 260, 112}, 0xE1E1E1});
  boxes_.insert(box);
  return box;
}

void SimImClient::on_nick_entered() {
  const std::string nick = desktop_.window_text(dialog_->field);
  note("nick entered: " + nick);
  if (nick.empty()) return;
  if (starts_with(nick, kBusyPrefix) && dialog_->warned.insert(nick).second) {
    open_box("阿里旺旺", "系统繁忙,请稍后再试。");
    note("message box: " + nick);
    return;
  }
  const WindowHandle for_chat = dialog_->for_chat;
  desktop_.destroy_window(dialog_->dialog);
  dialog_.reset();
  if (starts_with(nick, kVerifyPrefix)) {
    open_box("添加好友", "对方设置了身份验证,请先加为好友。");
    note("add friend: " + nick);
    return;
  }
  if (Chat* chat = chat_by(&ChatWindowHandles::chat, for_chat)) {
    chat->partner = nick;
    desktop_.send_set_text(chat->handles.chat, nick);
    note("chat opened: " + nick);
  }
}

void SimImClient::on_send(Chat& chat) {
  const std::string text = desktop_.window_text(chat.handles.input);
  if (chat.partner.empty() || text.empty()) {
    note("nothing sent");
    return;
  }
  if (!transcript_.append(chat.partner, text)) note("transcript not written");
  desktop_.send_set_text(chat.handles.input, "");
  note("message sent: " + chat.partner);
}

void SimImClient::on_close(WindowHandle window) {
  const std::string title = desktop_.window_text(window);
  if (dialog_ && window == dialog_->dialog) {
    dialog_.reset();
  } else if (boxes_.erase(window) == 0) {
    auto it = std::find_if(chats_.begin(), chats_.end(), [&](const Chat& c) { return c.handles.chat == window; });
    if (it == chats_.end()) return;
    desktop_.destroy_window(it->cover);
    chats_.erase(it);
  }
  desktop_.destroy_window(window);
  note("closed: " + title);
}

}  // namespace varnel::sandbox
