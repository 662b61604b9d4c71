#pragma once
// Looking up a visible top-level window by process, class and title.

#include <string_view>

#include "im/window_system.h"

namespace varnel::im {

// The frontmost visible top-level window that meets every non-empty criterion: the executable name of its
// process (compared lower-cased), its exact class name, and a part of its title. The title is tested with an
// apostrophe added before and after, so a part wrapped in apostrophes demands the whole title.
// -1 when no window qualifies; 0 when all three criteria are empty (nothing is enumerated then).
WindowHandle find_top_window(WindowSystem& ws, std::string_view process_name, std::string_view class_name,
                             std::string_view title_part);

}  // namespace varnel::im
