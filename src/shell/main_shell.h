#pragma once
// The main window's shell: the notification-area icon and its menu, minimising to that area, start
// with the session, the main menu, the sound-file choosers, the volume mark and the weather button.
#include <functional>
#include <string>

#include "core/tform1.h"
#include "platform/autostart.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/window_messages.h"
#include "widgets/button.h"
#include "widgets/menu_item.h"
#include "widgets/spin_box.h"
#include "widgets/tick_box.h"

namespace tintal {

// What the rest of the program does for the shell; the composition fills these in.
struct ShellActions {
    std::function<void()> saveConfig;
    std::function<void()> closeMainWindow;  // the shutdown runs, which saves the settings
    std::function<void()> showSelectedWeatherWindow;
    std::function<void()> hideWeatherWindows;  // closing the station files they hold open
    std::function<bool()> weatherSourceChosen;
    std::function<void()> showChooser;
    std::function<void()> showInfo;
};

// How the application stands on the desktop; the view renders it.
struct ApplicationState {
    bool minimised = false;
    bool taskbarButton = true;
    bool trayIcon = true;
};

enum class MouseButton { Left, Right, Middle };

class MainShell {
public:
    // The icon's own message, and the mouse messages it carries.
    static constexpr unsigned kTrayMessage = window_message::kUser + 10;
    static constexpr unsigned kRightButtonUp = window_message::kRightButtonUp;
    static constexpr unsigned kLeftButtonDoubleClick = window_message::kLeftButtonDoubleClick;
    inline static const std::string kSoundFilter = "Fichiers son *.wav|*.wav";
    inline static const std::string kHelpFile = "tintal_help.chm";
    inline static const std::string kHtmlHelp = "tintal_help.html";

    MainShell(TForm1& form, Desktop& desktop, Autostart& autostart, Files& files, ShellActions actions);

    // The notification area's mouse message (the message's second parameter).
    void TrayMessage(unsigned mouseMessage);
    void RestaurerItemClick();
    void QuitterItemClick();
    void MenuQuitterClick();
    void Button2Click();
    void CheckBoxReduireClick();
    void CheckBoxDemarrageClick();
    void ButtonParcourirEnteteClick();
    void ButtonParcourirTintalClick();
    void ButtonParcourirFinClick();
    // x, y in the volume panel's coordinates.
    void Panel1MouseDown(MouseButton button, int x, int y);
    void ButtonInitMeteoClick();
    void ButtonInitMeteoMouseUp(MouseButton button);
    void MenuAideClick();

    bool ReducePending = false;
    ApplicationState application;
    std::function<void()> onApplicationChange;
    std::function<void()> onBringToFront;
    std::function<void()> onShowTrayMenu;  // at the cursor

    TickBox CheckBoxDemarrage{"CheckBoxDemarrage", "Lancer au démarrage de Windows"};
    TickBox CheckBoxReduire{"CheckBoxReduire", "Réduire au démarrage du Tintal"};
    TickBox CheckBoxInfoVersion{"CheckBoxInfoVersion", "Info nouvelle version au démarrage"};
    Button Button2{"Button2", "-"};
    Button ButtonInitMeteo{"ButtonInitMeteo"};
    Button ImageTintal{"ImageTintal"};
    Button ButtonParcourirEnTete{"ButtonParcourirEnTete", "Parcourir"};
    Button ButtonParcourirTintal{"ButtonParcourirTintal", "Parcourir"};
    Button ButtonParcourirFin{"ButtonParcourirFin", "Parcourir"};
    SpinBox Gauge1{"Gauge1", 0, 100, 70};
    Rect gaugeBounds{8, 8, 16, 80};  // within Panel1

    MenuItem menuFichier{"menuFichier", "Fichier"};
    MenuItem menuSaveConfig{"menuSaveConfig", "Sauver la configuration"};
    MenuItem MenuQuitter{"MenuQuitter", "Quitter"};
    MenuItem MenuChoix{"MenuChoix", "Choix météo"};
    MenuItem menurVoirMeteo{"menurVoirMeteo", "Voir météo"};
    MenuItem MenuAideInfo{"MenuAideInfo", "?"};
    MenuItem MenuAide{"MenuAide", "Aide"};
    MenuItem MenuInfo{"MenuInfo", "Info"};
    // The menu bar in display order.
    std::vector<MenuItem*> mainMenu;

    MenuItem QuitterItem{"QuitterItem", "Quitter"};
    MenuItem RestaurerItem{"RestaurerItem", "Restaurer"};  // the default item, in bold
    MenuItem ReduireItem{"ReduireItem", "Réduire"};

private:
    void chooseSoundFile(Button& button, std::string& path, const std::string& errorText);
    void changeApplication(bool minimised, bool taskbarButton);
    void restoreApplication();

    TForm1& form_;
    Desktop& desktop_;
    Autostart& autostart_;
    Files& files_;
    ShellActions actions_;
};

}  // namespace tintal
