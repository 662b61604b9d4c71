#include "im/initialise_im.h"

#include "im/find_top_window.h"
#include "im/image_matcher.h"
#include "im/send_to_user_pattern.h"

namespace varnel::im {
namespace {

constexpr const char* kStandardWindow = "StandardWindow";

// Every step runs with whatever the step before produced, 0 or -1 included: a missing window makes the
// later searches run over the top-level windows or find nothing, as the platform answers them.
ImWindows walk_chat_window(WindowSystem& ws) {
  ImWindows found;
  const WindowHandle chat = find_top_window(ws, "", kStandardWindow, "");
  const WindowHandle button = ws.find_window_ex(chat, 0, "StandardButton");
  const WindowHandle history = ws.find_window_ex(chat, button, kStandardWindow);
  found.send_pane = ws.find_window_ex(chat, history, kStandardWindow);
  const WindowHandle splitter = ws.find_window_ex(found.send_pane, 0, "SplitterBar");
  const WindowHandle tools_pane = ws.find_window_ex(splitter, 0, kStandardWindow);
  const WindowHandle input_pane = ws.find_window_ex(splitter, tools_pane, kStandardWindow);
  found.chat_input = ws.find_window_ex(input_pane, 0, "RichEditComponent");
  // The chat window is looked up anew for the toolbar.
  const WindowHandle chat_again = find_top_window(ws, "", kStandardWindow, "");
  const WindowHandle top_pane = ws.find_window_ex(chat_again, 0, kStandardWindow);
  found.toolbar = ws.find_window_ex(top_pane, 0, "ToolBarPlus");
  return found;
}

}  // namespace

ImInitOutcome initialise_im(WindowSystem& ws, ImWindows& im, std::string_view market_user, const LogFn& log,
                            const OutcomeFn& tell_operator) {
  auto finish = [&](ImInitOutcome outcome, const char* line) {
    if (tell_operator) tell_operator(outcome);
    if (log) log(line);
    return outcome;
  };
  if (market_user.empty()) return finish(ImInitOutcome::not_logged_in, kInitNotLoggedInLog);

  ImageMatcher matcher;
  im = walk_chat_window(ws);
  im.send_to_user_point = matcher.find_image(ws, send_to_user_pattern(), im.toolbar);

  const bool found = im.chat_input > 0 && im.toolbar > 0 && !(im.send_to_user_point == kNotFound);
  return found ? finish(ImInitOutcome::succeeded, kInitSucceededLog) : finish(ImInitOutcome::failed, kInitFailedLog);
}

}  // namespace varnel::im
