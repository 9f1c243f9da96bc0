// Plays clips through ALSA's default device, for the scripts that record them back from the sound server.
#include "platform/desktop.h"
#include "platform/posix/alsa_audio_device.h"
#include "platform/posix/embedded_clip_store.h"
#include "platform/posix/posix_event_loop.h"
#include "probes/clip_chain.h"

int main(int argc, char** argv) {
    using namespace tintal;
    return runPlayProbe<PosixEventLoop, AlsaAudioDevice, EmbeddedClipStore, FrenchDesktop>(argc, argv);
}
