// Plays clips through waveOut, for the scripts that record them back from the sound server.
#include "platform/win32/resource_clip_store.h"
#include "platform/win32/wave_out_device.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_event_loop.h"
#include "probes/clip_chain.h"

int main(int argc, char** argv) {
    using namespace tintal;
    return runPlayProbe<Win32EventLoop, WaveOutDevice, ResourceClipStore, Win32Desktop>(argc, argv);
}
