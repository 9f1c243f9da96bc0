// The tick's lateness on the Windows event loop (run under Wine by `make bench`).
#include "platform/win32/win32_event_loop.h"
#include "tick_lateness.h"

int main() { return tintal::runTickBench<tintal::Win32EventLoop>("Windows"); }
