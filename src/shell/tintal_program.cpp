#include "shell/tintal_program.h"

#include <filesystem>

#include "platform/file_path.h"
#include "radio/serial_port_list.h"

namespace tintal {

TintalProgram::TintalProgram(ProgramPorts p)
    : ports(std::move(p)),
      settingsFile(ports.durableFiles, inFolder("tintal.ini"), inFolder("tintal.~in")),
      log(ports.durableFiles, ports.desktop, inFolder("tintal.log"), inFolder("tintal.~lo")),
      mon({ports.loop, ports.desktop, ports.stationLibrary,
           [this] { return chooser.isChecked(WeatherSourceKind::MON); }, [this] { chooser.form.setVisible(false); },
           [this] { return form.announcing; }, [this] { return buildPortList(ports.serialLines.portNames()); },
           [this] { return form.EditTime.text(); }}),
      w23(fileContext(WeatherSourceKind::W23)),
      w28(fileContext(WeatherSourceKind::W28)),
      pro2(fileContext(WeatherSourceKind::PRO2)),
      web({ports.loop,
           ports.desktop,
           ports.downloader,
           files,
           ports.workingFolder,
           ports.exportFolder,
           {},
           {},
           [this] { return settings.ConfigLoading; },
           {}},
          chooser),
      radio({ports.loop, ports.desktop, files, ports.serialLines, ports.companion, ports.recorder}, mon, log,
            ports.loop),
      form({ports.loop,
            ports.desktop,
            ports.player,
            ports.audio,
            radio,
            {&mon, &w23, &w28, &pro2, &web.aprs, &web.metar, &web.piu}}),
      info(ports.downloader, files, ports.desktop, ports.workingFolder),
      shell(form, ports.desktop, ports.autostart, files, shellActions()),
      settings(settingsWindows(), settingsFile, log) {
    for (WeatherSource* source : std::initializer_list<WeatherSource*>{&mon, &w23, &w28, &pro2})
        chooser.attach(*source);
    chooser.windowsSuppressed = [this] { return settings.ConfigLoading && shell.CheckBoxReduire.checked(); };
    form.onLoadSettings = [this] { settings.LoadConfig(); };
    // The version check waits until the load is over: the clock's tick stands still while it loads.
    form.onSettingsLoaded = [this] {
        settings.finishLoad([this] { ports.loop.post([this] { info.CheckVersionAtStart(); }); });
    };
    form.onSaveSettings = [this] { settings.SaveConfig(true); };
}

std::string TintalProgram::inFolder(const std::string& name) const {
    return ports.workingFolder.empty() ? name : pathIn(ports.workingFolder, name);
}

SourceWindowContext TintalProgram::fileContext(WeatherSourceKind kind) {
    return {ports.loop, ports.desktop, files, threshold, [this, kind] { return chooser.isChecked(kind); },
            // Hidden without its close handler: closing the chooser re-selects, showing a source does not.
            [this] { chooser.form.setVisible(false); }};
}

SettingsWindows TintalProgram::settingsWindows() {
    // The radio windows exist once the radio side is bound to the main window.
    radio.attach(form);
    return {form,     shell,     info,    chooser,     mon,          w23,        w28,         pro2,
            web.aprs, web.metar, web.piu, web.favAprs, web.favMetar, web.favPiu, radio.com(), radio.record()};
}

ShellActions TintalProgram::shellActions() {
    return {[this] { settings.SaveConfig(); },
            [this] {
                if (onCloseRequested) onCloseRequested();
            },
            [this] {
                if (Window* window = settings.selectedWeatherWindow()) window->show();
            },
            [this] {
                for (Window* window : settings.weatherWindows()) window->hide();
            },
            [this] { return chooser.checkedKind() != WeatherSourceKind::None; },
            [this] { chooser.FormShow(form.Form1.bounds()); },
            [this] { info.FormInfo.show(); }};
}

void TintalProgram::start() {
    settingsFile.noteStart();
    log.noteStart();
    mon.FormCreate();
    form.FormCreate();
}

void TintalProgram::close() {
    form.FormClose();
    mon.closePort();
    ports.desktop.setWarningBeep(true);
}

}  // namespace tintal
