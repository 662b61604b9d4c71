#pragma once
// Waiting a fixed time for another program to react without freezing the calling thread's windows.
//
// On the thread that runs the Qt event loop the wait keeps dispatching events; on any other thread it
// is a plain wait. Either ends early once interrupt_delays() was called (a close or quit request), and
// every later wait then returns at once, so exit never waits on a pass that is pausing.

namespace varnel::im {

void pump_delay(int milliseconds);

// Ends the waits in progress and makes later ones return at once.
void interrupt_delays();
// Lets waits run again (a new main window, or the next test).
void resume_delays();
bool delays_interrupted();

}  // namespace varnel::im
