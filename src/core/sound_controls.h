#pragma once
// The main window's sound controls: the volume slider and balance, and the sound-card panel.
#include <vector>

#include "core/clip_player.h"
#include "platform/audio_device.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "widgets/button.h"
#include "widgets/combo_box.h"
#include "widgets/label.h"
#include "widgets/radio_button.h"
#include "widgets/spin_box.h"
#include "widgets/window.h"

namespace tintal {

class SoundControls {
public:
    SoundControls(EventLoop& loop, AudioDevice& device, ClipPlayer& player, Desktop& desktop);

    // Updates the slider and balance from the device volume (the clock does it every second).
    void ReadDeviceVolume();
    // The slider moved: sets the device volume from its position and the balance.
    void TrackBarVolumeChange();
    // "Carte Son": lists the devices; the choice cannot be confirmed while announcing.
    void MenuCarteSonClick(bool announcing);
    void BitBtnOKCarteSonClick();

    int outputDevice() const { return outputDevice_; }
    // As the settings loader restores it (-1 = the system's choice).
    void setOutputDevice(int device);

    int balance = 0;  // -100..100; positive: the left channel is louder
    bool volumeBusy = false;

    SpinBox TrackBarVolume{"TrackBarVolume", 0, 10, 5};  // 0 = loudest, 10 = silent
    Window PanelCarteSon{"PanelCarteSon", "CHOIX CARTE SON", Rect{240, 200, 300, 196}};
    RadioButton::Group carteGroup;
    RadioButton RadioButtonCarteWin{carteGroup, "RadioButtonCarteWin", "Laisser Windows choisir la carte Son", true};
    RadioButton RadioButtonCarteMoi{carteGroup, "RadioButtonCarteMoi", "Je choisis ma carte Son"};
    Label LabelSorties{"LabelSorties", "Sorties lecture"};
    ComboBox ComboBoxChoixOut{"ComboBoxChoixOut"};
    Button BitBtnOKCarteSon{"BitBtnOKCarteSon", "OK"};

private:
    EventLoop& loop_;
    AudioDevice& device_;
    ClipPlayer& player_;
    Desktop& desktop_;
    int outputDevice_ = AudioDevice::kDefaultDevice;
    // Device index of each list entry: a device whose name cannot be read has no entry.
    std::vector<int> listedDevices_;
    bool showingDeviceVolume_ = false;
};

}  // namespace tintal
