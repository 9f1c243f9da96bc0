#include "core/sound_controls.h"

#include "base/numbers.h"

namespace tintal {

SoundControls::SoundControls(EventLoop& loop, AudioDevice& device, ClipPlayer& player, Desktop& desktop)
    : loop_(loop), device_(device), player_(player), desktop_(desktop) {
    PanelCarteSon.setVisible(false);
    TrackBarVolume.onChange = [this] {
        // Showing the device's own volume is not a user's move: writing it back would only drift it.
        if (!showingDeviceVolume_) TrackBarVolumeChange();
    };
    BitBtnOKCarteSon.onClick = [this] { BitBtnOKCarteSonClick(); };
}

void SoundControls::ReadDeviceVolume() {
    // While a clip plays the reading comes from the open stream, and a mono stream (every clip of the
    // catalogue) reports its one level in the left half with 0 on the right: read as a balance of 100,
    // the next slider move would silence the right channel. Only the idle device tells its two levels.
    if (player_.clipPlaying()) return;
    const auto volume = device_.volume(outputDevice_);
    if (!volume) return;
    const double left = *volume & 0xFFFF;
    const double right = *volume >> 16;
    double level = 0;
    if (left == 0 && right == 0) {
        level = 0;
    } else if (right < left) {
        level = left;
        balance = static_cast<int>(roundHalfEven(100 - right / left * 100));
    } else {
        level = right;
        balance = -static_cast<int>(roundHalfEven(100 - left / right * 100));
    }
    showingDeviceVolume_ = true;
    // Rounded, not truncated: a truncated reading of the volume a position set shows the next position
    // down, and each save and restart would then turn the volume down one more step.
    TrackBarVolume.setValue(static_cast<int>(10 - roundHalfEven(level / 65535 * 10)));
    showingDeviceVolume_ = false;
}

void SoundControls::TrackBarVolumeChange() {
    volumeBusy = true;
    const double x = static_cast<double>(roundHalfEven((10 - TrackBarVolume.value()) * 65535 / 10.0));
    long long left, right;
    if (balance > 0) {
        left = static_cast<long long>(x);
        right = roundHalfEven(x * (100 - balance) / 100);
    } else {
        right = static_cast<long long>(x);
        left = roundHalfEven(x * (100 + balance) / 100);
    }
    device_.setVolume(outputDevice_, static_cast<std::uint32_t>(left + right * 65536));
    loop_.processPending();
    volumeBusy = false;
}

void SoundControls::MenuCarteSonClick(bool announcing) {
    BitBtnOKCarteSon.setEnabled(!announcing);
    PanelCarteSon.show();
    ComboBoxChoixOut.clearItems();
    ComboBoxChoixOut.setText("");
    listedDevices_.clear();
    const int count = device_.deviceCount();
    for (int i = 0; i < count; ++i) {
        if (const auto name = device_.deviceName(i)) {
            ComboBoxChoixOut.addItem(*name);
            listedDevices_.push_back(i);
        } else {
            ComboBoxChoixOut.setText("Erreur sorties lecture");
        }
    }
    int entry = -1;
    for (int e = 0; e < static_cast<int>(listedDevices_.size()); ++e) {
        if (listedDevices_[e] == outputDevice_) entry = e;
    }
    if (RadioButtonCarteMoi.checked() && entry >= 0) {
        ComboBoxChoixOut.setItemIndex(entry);
    } else {
        ComboBoxChoixOut.setText("");
    }
}

void SoundControls::BitBtnOKCarteSonClick() {
    if (RadioButtonCarteMoi.checked() && ComboBoxChoixOut.text().empty()) {
        desktop_.beep();
        return;
    }
    const int entry = ComboBoxChoixOut.itemIndex();
    if (RadioButtonCarteWin.checked() || entry < 0 || entry >= static_cast<int>(listedDevices_.size())) {
        setOutputDevice(AudioDevice::kDefaultDevice);
    } else {
        setOutputDevice(listedDevices_[entry]);
    }
    PanelCarteSon.hide();
}

void SoundControls::setOutputDevice(int device) {
    outputDevice_ = device;
    player_.setOutputDevice(device);
}

}  // namespace tintal
