#include "sandbox/im/sim_chat_window.h"

#include <QByteArray>
#include <QImage>

#include "im/send_to_user_pattern.h"

namespace varnel::sandbox {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

// A 16 x 16 toolbar icon: a square of one colour with a darker frame.
ScreenPixels icon(std::uint32_t colour, std::uint32_t frame) {
  ScreenPixels out{16, 16, std::vector<std::uint32_t>(256, colour)};
  for (int i = 0; i < 16; ++i) {
    out.pixels[i] = out.pixels[15 * 16 + i] = out.pixels[i * 16] = out.pixels[i * 16 + 15] = frame;
  }
  return out;
}

}  // namespace

ScreenPixels send_to_user_pixels() {
  const std::string_view bytes = im::send_to_user_pattern();
  QImage picture;
  picture.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "BMP");
  picture = picture.convertToFormat(QImage::Format_RGB32);
  ScreenPixels out{picture.width(), picture.height(), {}};
  for (int y = 0; y < picture.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    for (int x = 0; x < picture.width(); ++x) out.pixels.push_back(line[x] & 0xFFFFFF);
  }
  return out;
}

ChatWindowHandles create_chat_window(SimDesktop& desktop, std::uint32_t process_id, const ChatWindowLayout& layout) {
  const int w = kChatWindowSize.width;
  const int h = kChatWindowSize.height;
  const Point at = layout.position;
  ChatWindowHandles c;
  c.chat = desktop.create_window(process_id, 0,
                                 {"StandardWindow", layout.partner, {at.x, at.y, at.x + w, at.y + h}, kThemeColour});
  // Child order matters: the toolbar's pane comes first, the send pane after the history.
  // The top pane leaves room for the close button at its right.
  c.top_pane = desktop.create_window(process_id, c.chat, {"StandardWindow", "", {0, 0, w - 36, 64}, kThemeColour});
  c.toolbar = desktop.create_window(process_id, c.top_pane, {"ToolBarPlus", "", {0, 36, w - 36, 64}, kThemeColour});
  c.close_button = desktop.create_window(process_id, c.chat, {"StandardButton", "", {w - 28, 6, w - 8, 26}, 0xC44040});
  c.history = desktop.create_window(process_id, c.chat, {"StandardWindow", "", {0, 64, w, 360}, kWhite});
  c.send_pane = desktop.create_window(process_id, c.chat, {"StandardWindow", "", {0, 360, w, h}, kWhite});
  c.splitter = desktop.create_window(process_id, c.send_pane, {"SplitterBar", "", {0, 0, w, 120}, 0xE6E6E6});
  c.tools_pane = desktop.create_window(process_id, c.splitter, {"StandardWindow", "", {0, 0, w, 26}, kThemeColour});
  c.input_pane = desktop.create_window(process_id, c.splitter, {"StandardWindow", "", {0, 26, w, 120}, kWhite});
  c.input = desktop.create_window(process_id, c.input_pane, {"RichEditComponent", "", {4, 4, w - 4, 90}, kWhite});

  // The other toolbar buttons, left and right of the send-to-user button.
  const std::uint32_t icon_colours[][2] = {
      {0x3C78D8, 0x1C4587}, {0xF1C232, 0xBF9000}, {0x6AA84F, 0x38761D}, {0xE06666, 0x990000}};
  for (int i = 0; i < 4; ++i) {
    desktop.add_picture(c.toolbar, {8 + 22 * i, 6}, icon(icon_colours[i][0], icon_colours[i][1]));
    desktop.add_picture(c.toolbar, {layout.button_at.x + 84 + 22 * i, 6}, icon(icon_colours[3 - i][0], 0x444444));
  }
  desktop.add_picture(c.toolbar, layout.button_at, send_to_user_pixels());
  return c;
}

}  // namespace varnel::sandbox
