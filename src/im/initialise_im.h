#pragma once
// Finding the IM client's chat window, its input, its toolbar and the toolbar's send-to-user button.

#include <functional>
#include <string>
#include <string_view>

#include "im/im_windows.h"
#include "im/window_system.h"

namespace varnel::im {

enum class ImInitOutcome {
  not_logged_in,  // nothing searched; the windows are left as they were
  failed,         // the input, the toolbar or the button was not found
  succeeded,
};

// The log lines of the three outcomes.
inline constexpr const char* kInitNotLoggedInLog = "初始化旺旺--失败!";
inline constexpr const char* kInitFailedLog = "旺旺初始化--失败!";
inline constexpr const char* kInitSucceededLog = "旺旺初始化--成功!";

using LogFn = std::function<void(const std::string&)>;
using OutcomeFn = std::function<void(ImInitOutcome)>;

// Unless `market_user` is empty (not logged in to the marketplace), walks the chat window's chain of child
// windows and searches the toolbar for the send-to-user picture, and replaces all four fields of `im` with
// what it found, whatever the verdict. `tell_operator` (may be empty) hears the outcome before its line goes
// to `log`, so that the operator is told first.
ImInitOutcome initialise_im(WindowSystem& ws, ImWindows& im, std::string_view market_user, const LogFn& log,
                            const OutcomeFn& tell_operator = {});

}  // namespace varnel::im
