#pragma once
// What the METAR, APRS and Pioupiou windows share: the address field over its history box, the
// fetch of a web address into the source's working file and its check, the refresh timer and
// button, the error and date fields, the time base, the pressure offset, the favourites and help
// buttons, the tick boxes whose captions show the figures, and the working and export files.
#include <climits>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/desktop.h"
#include "platform/downloader.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "weather/figure_format.h"
#include "weather/source_window.h"
#include "widgets/button.h"
#include "widgets/combo_box.h"
#include "widgets/label.h"
#include "widgets/text_field.h"

namespace tintal {

struct WebSourceContext {
    EventLoop& loop;
    Desktop& desktop;
    Downloader& downloader;
    Files& files;
    // Where the working files and exports are written; empty = the current directory.
    std::string workingFolder;
    // The shared folder other radio programs read the exports from; used only when it exists.
    std::string exportFolder;
    std::function<bool()> isSelected;
    std::function<void()> hideChooser;
    // The settings are being restored at program start.
    std::function<bool()> startingUp;
    std::function<void()> showHelp;
};

// How one source fetches: its working file, the byte that marks a page for its extractor, how much
// of a " //" label is cut off, the prefix of its error text and the code of a failed download.
// The code of an answer refused for its size, the same in every source.
inline constexpr int kDocumentTooLargeError = 9;

struct WebFetchRules {
    const char* localFile;
    char marker;
    std::size_t labelCut;
    const char* errorPrefix;
    int downloadFailure;
};

// True for "http://" and "https://" addresses, compared case-sensitively.
bool isWebAddress(const std::string& text);
// The address without a " //" label: up to `cut` characters from the first " //" are removed.
std::string withoutLabel(std::string address, std::size_t cut);

class WebSourceWindow : public SourceWindow {
public:
    WebSourceWindow(WebSourceContext context, WeatherSourceKind kind, WebFetchRules rules, std::string name,
                    std::string caption, int tuItem);

    std::string errorText() const override { return StaticTextErreur.caption(); }
    // A read asked for while a download of this source runs is dropped: that download's read is
    // the fresh one, and a second transfer would write the same working file.
    void read() override {
        if (!downloading_) TimerMeteoTimer();
    }
    // A download of this source is under way (the window thread keeps dispatching meanwhile) or due
    // after the settings' load.
    bool downloading() const { return downloading_ || fetchDue_; }
    // The files its addresses may name (a local document instead of a web page).
    Files& files() const { return context_.files; }
    // Submits a web address again, reads when that worked, then shows the window; at start-up the
    // fetch and read come once the settings are loaded.
    void select(bool showWindow) override;

    virtual void TimerMeteoTimer() = 0;
    // Enter in the address field submits it; other keys pass through.
    void EditDatKeyPress(char key);
    void ButtonRafraichirClick() override;
    void ComboBoxPathChange();
    void ComboBoxTUChange();
    void ButtonFavClick();
    void SpeedButtonMenuAideClick();
    virtual void FormShow();
    virtual void FormClose();
    virtual void FormActivate();

    static constexpr const char* kDownloadingText = "Téléchargement";

    // Downloads the address (label cut off) into the local file; false when the download failed.
    bool FetchSourcePage(std::string url, std::string localName);
    // Fetches, then hands a marked page to the source's extractor; leaves the outcome in FetchError.
    void FetchAndCheck(const std::string& url, const std::string& localName);

    // A document that did not come from the web (a saved page or report, a test's): stored as the working
    // file, checked and cut as a fetched one, and made the file the next read decodes.
    void loadDocument(const std::string& bytes);

    // The favourites window this source shows and hides (set once at start-up).
    Window* favourites = nullptr;

    int FetchError = 0;

    TextField EditDat{"EditDat"};
    ComboBox ComboBoxPath{"ComboBoxPath"};
    Label LabelHistoryFile{"LabelHistoryFile"};
    TextField Editdatemeteo{"Editdatemeteo"};
    ComboBox ComboBoxTU{"ComboBoxTU"};
    SpinBox SpinEditOffSetPression{"SpinEditOffSetPression", INT_MIN, INT_MAX, 0};
    TickBox CheckBoxTRes{"CheckBoxTRes", "T.ressentie (°C) ="};
    TickBox CheckBoxPluie{"CheckBoxPluie", "Pluie/24h (mm) = "};
    TickBox CheckBoxHumiExt{"CheckBoxHumiExt", "Humi. ext (%) ="};
    Label LabelTros{"LabelTros", "T. rosée (C°) = "};
    Label StaticTextErreur{"StaticTextErreur", "", Colour::Red};
    Button ButtonFav{"ButtonFav", "Favoris"};
    Button SpeedButtonMenuAide{"SpeedButtonMenuAide", "?"};

protected:
    // Cuts the useful part out of a fetched page in the working file; returns the new FetchError.
    virtual int extractPage() = 0;
    // Submits the address in EditDat (Enter, or the read routine when fromRead: then it does not click refresh).
    virtual void submit(bool fromRead) = 0;
    // A refresh started while the program restores its settings waits for the first timer tick.
    virtual bool refreshWaitsForStartUp() const { return true; }

    // The ends of a submission: the error shown and the retries kept going; or the working file made the
    // one the reads decode, the address remembered, and a refresh unless the read routine submitted.
    void submissionFailed();
    void submissionAccepted(const std::string& address, bool fromRead);
    // The marker check of a fetched file: a marked page goes to the extractor, once.
    void checkFetched(const std::string& name);
    void startTimerIfStopped() { TimerMeteo.start(); }
    void showError() { StaticTextErreur.setCaption(rules_.errorPrefix + std::to_string(FetchError)); }
    void blackCaptions(std::initializer_list<TickBox*> boxes);
    // Sets the captions to their empty forms after a successful submission.
    void resetCaptions(const char* humidityCaption, const char* rainCaption);
    void colour(TickBox& box, bool outOfLimits);
    // Stores a figure in the reading and captions its box, "--" when the source did not give it;
    // colourFigures judges it afterwards.
    void showFigure(Control& box, const FigureFormat& figure, double value, bool given);
    // A caption shows a figure unless it reads "--".
    static bool showsValue(const TickBox& box) { return box.caption().find("--") == std::string::npos; }
    // The validity colours of temperature, wind chill, pressure, wind and gust, for captions that show a figure.
    void colourFigures();
    std::string fixed(double value, int decimals) const;
    // The UTC or local moment as the date field shows it: date, two spaces, time.
    std::string dateFieldText(double dateTime) const;

    // Working files, named relative to the working folder (absolute paths are taken as they are).
    std::string pathOf(const std::string& name) const;
    bool fileExists(const std::string& name) const;
    std::optional<std::string> readFile(const std::string& name) const;
    bool writeFile(const std::string& name, const std::string& bytes) const;
    void removeFile(const std::string& name) const;
    // Last write of the file as a local date-time.
    std::optional<double> lastWriteTime(const std::string& name) const;
    // The extractors' frame: 4 without a working file, 5 when it cannot be read; otherwise `cut` gives a
    // code and, with 0, the new content of the working file (8, after the dialog, when it cannot be written).
    int extractWorkingFile(const std::function<int(const std::string& page, std::string& kept)>& cut);
    // An export, in the export folder (when it exists) and in the working folder; a dialog for each failure.
    void writeExport(const std::string& name, const std::string& bytes, bool exportFolderFirst);

    WebSourceContext context_;
    WebFetchRules rules_;
    bool refreshRunning_ = false;  // the refresh handler runs: the history box and submissions do not click it
    bool downloading_ = false;

private:
    void fetchAndRead();
    // The settings are being restored, or the fetch their load asked for runs.
    bool startingUp() const;

    bool fetchDue_ = false;      // posted by select() during the settings' load
    bool startUpFetch_ = false;  // that fetch runs
};

}  // namespace tintal
