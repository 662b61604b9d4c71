#include <gtest/gtest.h>

#include <random>

#include "bmp_file.h"
#include "im/dib_image.h"
#include "im/image_matcher.h"
#include "im/palette.h"
#include "im/send_to_user_pattern.h"
#include "literal_scan.h"
#include "sandbox/im/sim_desktop.h"

using namespace varnel::im;
using varnel::sandbox::SimDesktop;
using varnel::testing::bmp_file;

namespace {

constexpr std::uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, Y = 0xFFFF00, K = 0x000000, GREY = 0x808080;

// The colour of a palette entry, so that a picture drawn with it reduces to exactly that index.
std::uint32_t entry(int index) {
  const PaletteColour c = default_palette()[index];
  return (c.red << 16) | (c.green << 8) | c.blue;
}

ScreenPixels picture(int width, std::vector<std::uint32_t> pixels) {
  return {width, static_cast<int>(pixels.size()) / width, std::move(pixels)};
}

const ScreenPixels kPicture = picture(5, {R, G, B, Y, K,  //
                                          G, B, Y, K, R,  //
                                          B, Y, K, R, G});

// The picture with `changed` of its points (never the anchor, the bottom-left pixel) shown in grey.
ScreenPixels with_changes(ScreenPixels p, int changed) {
  const size_t anchor = p.pixels.size() - p.width;
  for (size_t i = 0; changed > 0; ++i) {
    if (i == anchor) continue;
    p.pixels[i] = GREY;
    --changed;
  }
  return p;
}

// A 40 x 20 grey window at (300, 200) of the simulated desktop, showing the given pictures.
struct Screen {
  SimDesktop desktop;
  WindowHandle window = 0;
  explicit Screen(const std::vector<std::pair<Point, ScreenPixels>>& shown) {
    const auto process = desktop.start_process("paint.exe");
    window = desktop.create_window(process, 0, {"Canvas", "", {300, 200, 340, 220}, GREY});
    for (const auto& [at, pixels] : shown) desktop.add_picture(window, at, pixels);
  }
};

struct MatchCase {
  const char* name;
  std::vector<std::pair<Point, ScreenPixels>> shown;
  std::string pattern;
  FindImageOptions options;
  Point expected;
};

TEST(ImageMatcher, AnswersTheSpecifiedPositionInEveryCase) {
  const std::string pattern = bmp_file(kPicture);
  const ScreenPixels shifted = picture(3, {entry(101), entry(121), entry(141),  //
                                           entry(141), entry(101), entry(121)});
  const ScreenPixels exact = picture(3, {entry(100), entry(120), entry(140),  //
                                         entry(140), entry(100), entry(120)});
  const ScreenPixels shape_on_red = picture(4, {R, R, B, R,  //
                                                R, R, G, R,  //
                                                R, G, G, R});
  const ScreenPixels shape_on_grey = picture(4, {GREY, GREY, B, GREY,  //
                                                 GREY, GREY, G, GREY,  //
                                                 GREY, G, G, GREY});
  FindImageOptions tolerant;
  tolerant.tolerance = 1;
  FindImageOptions half;
  half.percent = 50;
  FindImageOptions ignore_red;
  ignore_red.ignore_colour = 0x0000FF;  // red as 0x00BBGGRR
  FindImageOptions left_part;
  left_part.width = 19;
  FindImageOptions right_part;
  right_part.x = 20;

  const std::vector<MatchCase> cases = {
      {"found once: its bottom-left pixel", {{{10, 4}, kPicture}}, pattern, {}, {10, 6}},
      {"twice: the lower wins", {{{5, 2}, kPicture}, {{20, 10}, kPicture}}, pattern, {}, {20, 12}},
      {"same rows: the left wins", {{{25, 5}, kPicture}, {{8, 5}, kPicture}}, pattern, {}, {8, 7}},
      {"partly right of the area", {{{37, 5}, kPicture}}, pattern, {}, kNotFound},
      {"partly above the area", {{{10, -1}, kPicture}}, pattern, {}, kNotFound},
      {"an area to the left", {{{5, 2}, kPicture}, {{20, 10}, kPicture}}, pattern, left_part, {5, 4}},
      {"an area to the right, in client coordinates",
       {{{5, 2}, kPicture}, {{20, 10}, kPicture}},
       pattern,
       right_part,
       {20, 12}},
      {"percent 50, half the points match", {{{10, 4}, with_changes(kPicture, 7)}}, pattern, half, {10, 6}},
      {"percent 50, fewer than half match", {{{10, 4}, with_changes(kPicture, 8)}}, pattern, half, kNotFound},
      {"all points needed, one differs", {{{10, 4}, with_changes(kPicture, 1)}}, pattern, {}, kNotFound},
      {"percent 50 takes the first candidate that gets there",
       {{{10, 4}, kPicture}, {{25, 12}, with_changes(kPicture, 7)}},
       pattern,
       half,
       {25, 14}},
      {"one-pixel pattern: never found", {{{10, 4}, picture(1, {B})}}, bmp_file(picture(1, {B})), {}, kNotFound},
      {"all pixels ignored", {{{10, 4}, picture(2, {R, R})}}, bmp_file(picture(2, {R, R})), ignore_red, kNotFound},
      {"ignored colour: the anchor is the first other pixel",
       {{{10, 5}, shape_on_grey}},
       bmp_file(shape_on_red),
       ignore_red,
       {11, 7}},
      {"bytes that are no BMP", {{{10, 4}, kPicture}}, "not a bitmap at all", {}, kNotFound},
      {"a BMP cut short", {{{10, 4}, kPicture}}, pattern.substr(0, 60), {}, kNotFound},
      {"indices one apart, tolerance 0", {{{10, 4}, shifted}}, bmp_file(exact), {}, kNotFound},
      {"indices one apart, tolerance 1", {{{10, 4}, shifted}}, bmp_file(exact), tolerant, {10, 5}},
  };
  for (const MatchCase& c : cases) {
    SCOPED_TRACE(c.name);
    Screen screen(c.shown);
    ImageMatcher matcher;
    EXPECT_EQ(matcher.find_image(screen.desktop, c.pattern, screen.window, c.options), c.expected);
  }
}

TEST(ImageMatcher, WindowZeroOrGoneSearchesTheWholeScreen) {
  Screen screen({{{10, 4}, kPicture}});
  ImageMatcher matcher;
  EXPECT_EQ(matcher.find_image(screen.desktop, bmp_file(kPicture), 0), (Point{310, 206}));

  const auto process = screen.desktop.start_process("other.exe");
  const WindowHandle gone = screen.desktop.create_window(process, 0, {"Gone", "", {0, 0, 10, 10}, K});
  screen.desktop.destroy_window(gone);
  EXPECT_EQ(matcher.find_image(screen.desktop, bmp_file(kPicture), gone), (Point{310, 206}));
}

TEST(ImageMatcher, SeesOnlyWhatTheScreenShows) {
  Screen screen({{{10, 4}, kPicture}});
  ImageMatcher matcher;
  const std::string pattern = bmp_file(kPicture);
  const auto other = screen.desktop.start_process("other.exe");
  const WindowHandle cover = screen.desktop.create_window(other, 0, {"Cover", "", {305, 200, 320, 220}, K});
  EXPECT_EQ(matcher.find_image(screen.desktop, pattern, screen.window), kNotFound);
  screen.desktop.destroy_window(cover);
  EXPECT_EQ(matcher.find_image(screen.desktop, pattern, screen.window), (Point{10, 6}));

  // Moved so that the picture lies past the screen's right edge: captured black there.
  screen.desktop.move_window(screen.window, {1920 - 12, 200});
  EXPECT_EQ(matcher.find_image(screen.desktop, pattern, screen.window), kNotFound);
}

TEST(ImageMatcher, WithoutAPatternSearchesThePreparedOneAgain) {
  Screen screen({{{10, 4}, kPicture}});
  ImageMatcher matcher;
  EXPECT_EQ(matcher.find_image(screen.desktop, std::nullopt, screen.window), kNotFound);  // nothing prepared yet
  ASSERT_EQ(matcher.find_image(screen.desktop, bmp_file(kPicture), screen.window), (Point{10, 6}));
  EXPECT_EQ(matcher.find_image(screen.desktop, std::nullopt, screen.window), (Point{10, 6}));
}

TEST(PatternPreparation, EveryDepthAndRowOrderGivesTheSamePattern) {
  const PreparedPattern reference = prepare_pattern(bmp_file(kPicture, 32), std::nullopt);
  ASSERT_EQ(reference.anchor_value, nearest_palette_index(B));
  ASSERT_EQ(reference.points.size(), 14u);
  // Bottom row first, left to right: the next point is the bottom row's second pixel.
  EXPECT_EQ(reference.points[0].dx, 1);
  EXPECT_EQ(reference.points[0].dy, 0);
  EXPECT_EQ(reference.points[4].dx, 0);
  EXPECT_EQ(reference.points[4].dy, 1);
  for (auto [bits, top_down] : {std::pair{24, false}, {8, false}, {32, true}, {24, true}}) {
    SCOPED_TRACE(bits);
    const PreparedPattern p = prepare_pattern(bmp_file(kPicture, bits, top_down), std::nullopt);
    EXPECT_EQ(p.anchor_value, reference.anchor_value);
    ASSERT_EQ(p.points.size(), reference.points.size());
    for (size_t k = 0; k < p.points.size(); ++k) {
      EXPECT_EQ(p.points[k].dx, reference.points[k].dx);
      EXPECT_EQ(p.points[k].dy, reference.points[k].dy);
      EXPECT_EQ(p.points[k].value, reference.points[k].value);
    }
  }
}

TEST(Palette, DefaultEntriesAndNearestColour) {
  EXPECT_EQ(entry(10), 0x402000u);
  EXPECT_EQ(entry(245), 0xA0C0C0u);
  EXPECT_EQ(entry(9), 0xA6CAF0u);
  EXPECT_EQ(entry(246), 0xFFFBF0u);
  EXPECT_EQ(nearest_palette_index(0xFFFFFF), 255);
  EXPECT_EQ(nearest_palette_index(0x010101), 0);
  // (128, 128, 0) is entry 3 and again entry 36: the lower index wins.
  EXPECT_EQ(entry(36), 0x808000u);
  EXPECT_EQ(nearest_palette_index(0x808000), 3);
  PaletteReducer reducer;
  for (std::uint32_t c : {0x123456u, 0xD8EFF6u, 0x123456u, 0xFF00FFu})
    EXPECT_EQ(reducer.index_of(c), nearest_palette_index(c));
}

TEST(SendToUserPattern, IsTheButtonPictureFile) {
  const std::string_view bytes = send_to_user_pattern();
  ASSERT_EQ(bytes.size(), 4950u);
  auto le = [&](size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return v;
  };
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(le(2, 4), 4950u);
  EXPECT_EQ(le(10, 4), 54u);
  EXPECT_EQ(le(14, 4), 40u);
  EXPECT_EQ(le(18, 4), 72u);
  EXPECT_EQ(le(22, 4), 17u);
  EXPECT_EQ(le(28, 2), 32u);
  EXPECT_EQ(le(30, 4), 0u);
  EXPECT_EQ(le(38, 4), 3780u);
  // The bottom-left pixel is the light blue background (blue, green, red).
  EXPECT_EQ(le(54, 3), 0xD8EFF6u);
  const PreparedPattern p = prepare_pattern(bytes, std::nullopt);
  EXPECT_EQ(p.anchor_value, nearest_palette_index(0xD8EFF6));
  EXPECT_EQ(p.points.size(), 1223u);
}

// Random images of few colours, patterns cut from them (often with an ignored index, so that points lie left
// of the anchor), random shares and tolerances: the search answers what the plain scan answers.
TEST(ImageSearch, AnswersExactlyWhatThePlainScanAnswers) {
  std::mt19937 rng(20240305);
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  int found = 0;
  for (int round = 0; round < 4000; ++round) {
    const int w = uniform(1, 23);
    const int h = uniform(1, 15);
    const int colours = uniform(1, 3);
    const int stride = DibImage::stride_of(w);
    std::vector<std::uint8_t> image(static_cast<size_t>(stride) * h, 0);
    for (int r = 0; r < h; ++r) {
      for (int c = 0; c < w; ++c) image[r * stride + c] = static_cast<std::uint8_t>(uniform(0, colours - 1) * 3);
    }
    // Padding bytes hold zeros, which are a colour as well.
    const int pw = uniform(1, 8);
    const int ph = uniform(1, 6);
    const int at_row = uniform(0, h - 1);
    const int at_col = uniform(0, w - 1);
    ScreenPixels cut{pw, ph, {}};
    for (int y = 0; y < ph; ++y) {
      for (int x = 0; x < pw; ++x) {
        const int r = at_row + (ph - 1 - y);
        const int c = at_col + x;
        const int v = (r < h && c < w) ? image[r * stride + c] : uniform(0, 8);
        cut.pixels.push_back(entry(v));
      }
    }
    auto bmp_picture = DibImage::from_bmp_bytes(bmp_file(cut));
    ASSERT_TRUE(bmp_picture);
    std::optional<std::uint8_t> ignored;
    if (uniform(0, 2) == 0) ignored = static_cast<std::uint8_t>(uniform(0, colours - 1) * 3);
    const PreparedPattern pattern = prepare_pattern(*bmp_picture, ignored);
    if (pattern.anchor_value < 0) continue;
    const int tolerance = uniform(0, 3) == 0 ? uniform(1, 3) : 0;
    const int percent = uniform(0, 2) == 0 ? uniform(1, 120) : 0;
    const Point literal = varnel::testing::literal_scan(image, w, h, pattern, tolerance, percent);
    ASSERT_EQ(search_pattern(image, w, h, pattern, tolerance, percent), literal)
        << "round " << round << " w " << w << " h " << h << " tolerance " << tolerance << " percent " << percent;
    if (!(literal == kNotFound)) ++found;
  }
  EXPECT_GT(found, 1000);  // the cases found and the cases missed are both well represented
}

}  // namespace
