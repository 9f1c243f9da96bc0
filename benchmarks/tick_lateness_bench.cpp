// The tick's lateness on the Linux event loop.
#include "platform/posix/posix_event_loop.h"
#include "tick_lateness.h"

int main() { return tintal::runTickBench<tintal::PosixEventLoop>("Linux"); }
