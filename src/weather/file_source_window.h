#pragma once
// The behaviour every window of a file-fed station shares (history files, archives): the refresh
// timer and button, the error field, the date field, the file field with "Parcourir", the pressure
// offset and trend threshold, and the tick boxes whose captions show the figures.
#include <climits>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "weather/figure_format.h"
#include "weather/source_window.h"
#include "widgets/label.h"
#include "widgets/text_field.h"

namespace tintal {

// The one trend threshold the W23, W28 and PRO2 windows share: whichever box changed last sets it.
struct SharedTrendThreshold {
    double value = 0.4;  // hPa per hour
};

struct SourceWindowContext {
    EventLoop& loop;
    Desktop& desktop;
    Files& files;
    SharedTrendThreshold& threshold;
    // The chooser's radio button of this kind is checked.
    std::function<bool()> isSelected;
    // Hides the chooser when a source window is shown.
    std::function<void()> hideChooser;
};

class FileSourceWindow : public SourceWindow {
public:
    FileSourceWindow(SourceWindowContext context, WeatherSourceKind kind, std::string name, std::string caption,
                     std::string fileFilter, std::string fileExtension);

    std::string errorText() const override { return StaticTextErreur.caption(); }
    void read() override { TimerMeteoTimer(); }
    // One read at once (which re-arms the timer), then the window.
    void select(bool showWindow) override;

    void TimerMeteoTimer();
    void ButtonRafraichirClick() override;
    void SpinEditSeuiltendanceChange();
    void ButtonParcourirClick();
    void FormShow();
    void FormClose();
    // Sets the file as the settings loader does: a missing file shows the error and stays unconfigured.
    void setFile(const std::string& path);

    TickBox CheckBoxTint{"CheckBoxTint", "T.int (°C) ="};
    TickBox CheckBoxTend{"CheckBoxTend", "Tendance = "};
    TickBox CheckBoxTRes{"CheckBoxTRes", "T.ressentie (°C) ="};
    TickBox CheckBoxPluie{"CheckBoxPluie", "Pluie/24h (mm) = "};
    TickBox CheckBoxHumiExt{"CheckBoxHumiExt", "Humi. ext (%) ="};
    Label LabelHumInt{"LabelHumInt", "Humi. int (%) ="};
    Label LabelTros{"LabelTros", "T. rosée (C°) = "};
    Label StaticTextErreur{"StaticTextErreur", "", Colour::Red};
    TextField Editdatemeteo{"Editdatemeteo"};
    TextField EditDat{"EditDat"};
    Button ButtonParcourir{"ButtonParcourir", "Parcourir"};
    SpinBox SpinEditOffSetPression{"SpinEditOffSetPression", INT_MIN, INT_MAX, 0};
    SpinBox SpinEditSeuiltendance{"SpinEditSeuiltendance", 1, 9, 4};

protected:
    // Decodes the whole file and shows its figures; false when the bytes cannot be decoded.
    virtual bool decodeAndShow(const std::vector<std::uint8_t>& bytes) = 0;
    // A read that finds no file keeps retrying at every period (PRO2 waits for the user instead).
    virtual bool retryWhenMissing() const { return true; }
    // The read clears an old error after a good read (PRO2) or leaves it for "Parcourir" to clear.
    virtual bool goodReadClearsError() const { return false; }
    // The file a read opens (PRO2 follows the months); the locator by default.
    virtual std::string fileToRead() { return reading_.locator; }
    virtual void resetCaptions();

    template <class Box>
    void showFigure(Box& box, const FigureFormat& figure, double value) {
        tintal::showFigure(box, figure, value, reading_, context_.desktop.decimalSeparator());
    }
    // A negative rain is the station's "not measured": stored as it is, captioned "--".
    void showRain(double rain);
    void showObservedAt(double observedAt);
    // The trend from the pressure change over about an hour (without offset); nothing when unknown.
    void showTrend(std::optional<double> change);
    // Wind chill from wind speed v and the outdoor temperature; dew point from the outdoor humidity.
    void showWindChillAndDewPoint(double v);
    std::string fixed(double value, int decimals) const;
    // A figure that is shown, black: neither out of limits nor missing ("--").
    bool valid(const TickBox& box) const {
        return box.colour() != Colour::Red && box.caption().find("--") == std::string::npos;
    }

    SourceWindowContext context_;

private:
    void fail();

    std::string fileFilter_, fileExtension_;
};

}  // namespace tintal
