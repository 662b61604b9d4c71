// The search for the send-to-user button over a 1920 x 1080 screen, against the plain scan it must answer
// like. The screen is the simulated desktop: a wallpaper, a browser-like window with lines of text, a taskbar,
// and the IM chat window near the top-left corner, which the bottom-up scan reaches last.

#include <benchmark/benchmark.h>

#include <random>

#include "im/dib_image.h"
#include "im/image_matcher.h"
#include "im/image_search.h"
#include "im/send_to_user_pattern.h"
#include "literal_scan.h"
#include "sandbox/im/sim_im_client.h"

namespace {

using namespace varnel::im;
using namespace varnel::sandbox;

// Rows of dark strokes on white, like text.
ScreenPixels text_lines(int width, int height, std::uint32_t seed) {
  std::mt19937 rng(seed);
  ScreenPixels out{width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * height, 0xFFFFFF)};
  for (int y = 0; y < height; ++y) {
    if (y % 18 >= 12) continue;
    for (int x = 0; x < width; ++x) {
      if (rng() % 3 == 0) out.pixels[static_cast<size_t>(y) * width + x] = (rng() % 2) ? 0x333333 : 0x777777;
    }
  }
  return out;
}

struct Desk {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "varnel-bench-im";
  SimDesktop desktop;
  std::unique_ptr<SimImClient> client;
  ChatWindowHandles chat;

  Desk() {
    std::filesystem::create_directories(dir);
    const auto apps = desktop.start_process("browser.exe");
    const WindowHandle browser = desktop.create_window(apps, 0, {"Browser", "淘宝", {560, 40, 1900, 1020}, 0xFFFFFF});
    desktop.add_picture(browser, {20, 80}, text_lines(1300, 880, 7));
    desktop.create_window(apps, 0, {"Shell_TrayWnd", "", {0, 1040, 1920, 1080}, 0x202830});
    client = std::make_unique<SimImClient>(desktop, dir);
    chat = client->open_chat_window({{8, 8}, {100, 5}, "买家"});
  }
  ~Desk() {
    client.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

struct SearchInput {
  DibImage screen;
  PreparedPattern pattern;
};

SearchInput search_input(bool button_shown) {
  Desk desk;
  if (!button_shown) desk.client->cover_toolbar(desk.chat.chat, true);
  return {DibImage::from_screen(desk.desktop.capture_screen(0, 0, 1920, 1080)),
          prepare_pattern(send_to_user_pattern(), std::nullopt)};
}

const SearchInput& shown() {
  static const SearchInput input = search_input(true);
  return input;
}

const SearchInput& covered() {
  static const SearchInput input = search_input(false);
  return input;
}

template <Point (*Search)(std::span<const std::uint8_t>, int, int, const PreparedPattern&, int, int)>
void run(benchmark::State& state, const SearchInput& input, Point expected) {
  for (auto _ : state) {
    const Point found =
        Search(input.screen.pixel_bytes(), input.screen.width(), input.screen.height(), input.pattern, 0, 0);
    if (!(found == expected)) state.SkipWithError("wrong answer");
    benchmark::DoNotOptimize(found);
  }
}

// The button's anchor: chat window corner + toolbar (0, 36) + button corner, bottom row.
constexpr Point kAnchorOnScreen{8 + 100, 8 + 36 + 5 + 16};

void BM_FindImageTopLeft(benchmark::State& state) { run<search_pattern>(state, shown(), kAnchorOnScreen); }
void BM_FindImageAbsent(benchmark::State& state) { run<search_pattern>(state, covered(), kNotFound); }
void BM_FindImageLiteralTopLeft(benchmark::State& state) {
  run<varnel::testing::literal_scan>(state, shown(), kAnchorOnScreen);
}
void BM_FindImageLiteralAbsent(benchmark::State& state) {
  run<varnel::testing::literal_scan>(state, covered(), kNotFound);
}

// All of find_image on the whole screen: capture, reduction to the palette, pattern preparation, search.
void BM_FindImageWholeScreenEndToEnd(benchmark::State& state) {
  Desk desk;
  ImageMatcher matcher;
  for (auto _ : state) {
    const Point found = matcher.find_image(desk.desktop, send_to_user_pattern(), 0);
    if (!(found == kAnchorOnScreen)) state.SkipWithError("wrong answer");
  }
}

BENCHMARK(BM_FindImageTopLeft)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindImageAbsent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindImageLiteralTopLeft)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindImageLiteralAbsent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindImageWholeScreenEndToEnd)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
