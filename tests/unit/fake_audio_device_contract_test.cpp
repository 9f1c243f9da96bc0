// The fake sound device the player tests use, held to the contract the real devices keep.
#include <optional>

#include "contracts/audio_device_contract.h"
#include "fakes/fake_audio_device.h"
#include "platform/virtual_event_loop.h"

namespace tintal::contracts {

template <>
struct AudioDeviceTraits<FakeAudioDevice> {
    struct Rig {
        Rig() { device_.emplace(loop_); }
        EventLoop& loop() { return loop_; }
        AudioDevice& device() { return *device_; }
        std::vector<std::uint8_t> played() const { return device_ ? device_->played : playedBeforeTheEnd_; }
        void destroyDevice() {
            playedBeforeTheEnd_ = device_->played;
            device_.reset();
        }
        void letTheDeviceWork() {}  // it works only when the loop dispatches

    private:
        VirtualEventLoop loop_{46000.5};
        std::optional<FakeAudioDevice> device_;
        std::vector<std::uint8_t> playedBeforeTheEnd_;
    };
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, AudioDeviceContract, FakeAudioDevice);

}  // namespace tintal::contracts
