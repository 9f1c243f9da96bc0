#pragma once
// What the announcement asks of the player, and what the player tells back.
#include <string>

namespace tintal {

// Implemented by the main window; called on the window thread.
class PlayerHost {
public:
    virtual ~PlayerHost() = default;
    // The clip could not be played: text is the status line's error text. The host aborts the announcement.
    virtual void clipFailed(const std::string& text) = 0;
    // The last buffer of the clip has played and the device is closed again.
    virtual void clipFinished() = 0;
};

// Contract: window thread only. Both play calls return at once. On success the clip is queued
// (clipPlaying() is true) and clipFinished() follows later; on failure clipFailed() has been
// called before they return. A request while a clip is playing is ignored.
class ClipPlayer {
public:
    virtual ~ClipPlayer() = default;
    virtual void setHost(PlayerHost* host) = 0;
    virtual void playClip(const std::string& name) = 0;
    virtual void playFile(const std::string& path) = 0;
    virtual bool clipPlaying() const = 0;
    // The abort's release: give the buffers back, reset and close the device. May throw.
    virtual void releaseDevice() = 0;
    // Never fails: the device counts as closed and no clip as playing.
    virtual void markIdle() = 0;
    // The output device for the next clip; -1 lets the system choose.
    virtual void setOutputDevice(int device) = 0;
    // Start-up allocation of the clip memory; returns the error text when it cannot be had.
    virtual std::string allocateMemory() { return {}; }
    virtual void freeMemory() {}
};

}  // namespace tintal
