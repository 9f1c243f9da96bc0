#include "weather/source_window.h"

namespace tintal {

SourceWindow::SourceWindow(EventLoop& loop, WeatherSourceKind kind, std::string name, std::string caption, Rect bounds,
                           std::function<bool()> isSelected, std::function<void()> hideChooser)
    : form(std::move(name), std::move(caption), bounds),
      TimerMeteo(loop, 60000),
      kind_(kind),
      isSelected_(std::move(isSelected)),
      hideChooser_(std::move(hideChooser)) {
    TimerMeteo.onTimer = [this] { read(); };
    ButtonRafraichir.setHint("Pour rafraichir manuellement");
    ButtonRafraichir.onClick = [this] { ButtonRafraichirClick(); };
    SpinEditRafraichir.onChange = [this] { SpinEditRafraichirChange(); };
}

void SourceWindow::SpinEditRafraichirChange() { TimerMeteo.setInterval(SpinEditRafraichir.value() * 60000); }

}  // namespace tintal
