#pragma once

#include <QIcon>

namespace varnel::app {

// The start button's two 32 x 32 pictures: delivery stopped (a start arrow) and running (pause bars).
QIcon stopped_picture();
QIcon running_picture();

}  // namespace varnel::app
