#include "shell/main_shell.h"

namespace tintal {

namespace {

void run(const std::function<void()>& action) {
    if (action) action();
}

}  // namespace

MainShell::MainShell(TForm1& form, Desktop& desktop, Autostart& autostart, Files& files, ShellActions actions)
    : form_(form), desktop_(desktop), autostart_(autostart), files_(files), actions_(std::move(actions)) {
    Button2.setHint("Réduire");
    ButtonInitMeteo.setHint("Voir la météo / Initialiser la météo");
    form.ImageTintal.setHint("Cliquer pour info");
    Gauge1.setHint("Cliquez souris droite ou gauche pour déplacer le repère");

    for (MenuItem* item : {&form.MenuAnnonceMeteo, &form.MenuPlageHoraire, &form.MenuRecord, &form.MenuRoseVents,
                           &menuSaveConfig, &MenuQuitter})
        menuFichier.add(*item);
    MenuAideInfo.add(MenuAide);
    MenuAideInfo.add(MenuInfo);
    mainMenu = {&menuFichier,  &MenuChoix,    &menurVoirMeteo,     &form.MenuCarteSon,
                &form.MenuCOM, &MenuAideInfo, &form.MenuSimuErreur};

    CheckBoxDemarrage.onClick = [this] { CheckBoxDemarrageClick(); };
    CheckBoxReduire.onClick = [this] { CheckBoxReduireClick(); };
    Button2.onClick = [this] { Button2Click(); };
    ButtonInitMeteo.onClick = [this] { ButtonInitMeteoClick(); };
    ImageTintal.onClick = [this] {
        // While the carrier picture stands in its place the picture does nothing.
        if (form_.ImageTintal.visible() && !form_.ImageTintalOff.visible()) run(actions_.showInfo);
    };
    ButtonParcourirEnTete.onClick = [this] { ButtonParcourirEnteteClick(); };
    ButtonParcourirTintal.onClick = [this] { ButtonParcourirTintalClick(); };
    ButtonParcourirFin.onClick = [this] { ButtonParcourirFinClick(); };
    menuSaveConfig.onClick = [this] { run(actions_.saveConfig); };
    MenuQuitter.onClick = [this] { MenuQuitterClick(); };
    MenuChoix.onClick = [this] { ButtonInitMeteoMouseUp(MouseButton::Right); };
    menurVoirMeteo.onClick = [this] { ButtonInitMeteoClick(); };
    MenuAide.onClick = [this] { MenuAideClick(); };
    MenuInfo.onClick = [this] { run(actions_.showInfo); };
    QuitterItem.onClick = [this] { QuitterItemClick(); };
    RestaurerItem.onClick = [this] { RestaurerItemClick(); };
    // "Réduire" minimises to the notification area and saves, as "-" does with the box ticked.
    ReduireItem.onClick = [this] {
        changeApplication(true, false);
        run(actions_.saveConfig);
    };
}

void MainShell::changeApplication(bool minimised, bool taskbarButton) {
    if (application.minimised == minimised && application.taskbarButton == taskbarButton) return;
    application.minimised = minimised;
    application.taskbarButton = taskbarButton;
    run(onApplicationChange);
}

void MainShell::restoreApplication() { changeApplication(false, true); }

void MainShell::TrayMessage(unsigned mouseMessage) {
    if (mouseMessage == kRightButtonUp) {
        run(onShowTrayMenu);
    } else if (mouseMessage == kLeftButtonDoubleClick) {
        // The main window itself is not shown: one never shown since a minimised start stays hidden.
        run(actions_.showSelectedWeatherWindow);
        restoreApplication();
        run(onBringToFront);
    }
}

void MainShell::RestaurerItemClick() {
    form_.Form1.show();
    run(actions_.showSelectedWeatherWindow);
    restoreApplication();
}

void MainShell::QuitterItemClick() { run(actions_.closeMainWindow); }

void MainShell::MenuQuitterClick() {
    if (application.trayIcon) {
        application.trayIcon = false;
        run(onApplicationChange);
    }
    run(actions_.closeMainWindow);
}

void MainShell::Button2Click() {
    const bool toTray = CheckBoxReduire.checked();
    changeApplication(true, !toTray && application.taskbarButton);
    if (ReducePending) {
        ReducePending = false;
    } else {
        run(actions_.saveConfig);
    }
}

void MainShell::CheckBoxReduireClick() {
    // Only the loader's tick acts at once; the user's is for the next start and the "-" button.
    if (!CheckBoxReduire.checked() || !ReducePending) return;
    changeApplication(true, false);
    ReducePending = false;
}

void MainShell::CheckBoxDemarrageClick() {
    if (const std::string error = autostart_.set(CheckBoxDemarrage.checked()); !error.empty()) {
        form_.EditData.setText("Err: " + error);
    }
}

void MainShell::chooseSoundFile(Button& button, std::string& path, const std::string& errorText) {
    const std::optional<std::string> chosen = desktop_.chooseFile(kSoundFilter, "wav");
    if (!chosen) return;
    path = *chosen;
    if (!files_.canRead(path)) {
        desktop_.showMessage(errorText, Desktop::MessageKind::Error);
        path.clear();
        return;
    }
    button.setHint(path);
}

void MainShell::ButtonParcourirEnteteClick() {
    chooseSoundFile(ButtonParcourirEnTete, form_.headerFilePath, "Err: Nom Fichier");
}

void MainShell::ButtonParcourirTintalClick() {
    chooseSoundFile(ButtonParcourirTintal, form_.cuckooFilePath, "Err: Nom Fichier");
}

void MainShell::ButtonParcourirFinClick() {
    chooseSoundFile(ButtonParcourirFin, form_.closingFilePath, "Err: Nom fichier Wave");
}

void MainShell::Panel1MouseDown(MouseButton button, int x, int y) {
    if (x <= gaugeBounds.left + gaugeBounds.width || y <= gaugeBounds.top) return;
    if (button == MouseButton::Left) Gauge1.setValue(Gauge1.value() + 10);
    if (button == MouseButton::Right) Gauge1.setValue(Gauge1.value() - 10);
}

void MainShell::ButtonInitMeteoClick() {
    if (actions_.weatherSourceChosen && actions_.weatherSourceChosen()) {
        run(actions_.showSelectedWeatherWindow);
    } else {
        run(actions_.showChooser);
    }
}

void MainShell::ButtonInitMeteoMouseUp(MouseButton button) {
    run(actions_.hideWeatherWindows);
    if (button == MouseButton::Right) run(actions_.showChooser);
}

void MainShell::MenuAideClick() {
    // The compiled help where it is installed; else the HTML help shipped beside the program.
    desktop_.openWithShell(files_.canRead(kHelpFile) ? kHelpFile : kHtmlHelp);
}

}  // namespace tintal
