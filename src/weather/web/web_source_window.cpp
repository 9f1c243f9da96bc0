#include "weather/web/web_source_window.h"

#include <algorithm>
#include <chrono>
#include <ctime>

#include "base/date_time.h"
#include "base/numbers.h"
#include "platform/file_path.h"
#include "platform/files.h"
#include "weather/web/address_history.h"

namespace tintal {

namespace {

// Marks a handler as running for as long as the guard lives.
class Running {
public:
    explicit Running(bool& mark) : mark_(mark), was_(mark) { mark_ = true; }
    ~Running() { mark_ = was_; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

private:
    bool& mark_;
    bool was_;
};

// Without a local name, the document is stored under the address's last path segment.
std::string localNameFor(const std::string& url, const std::string& localName) {
    return localName.empty() ? url.substr(url.find_last_of('/') + 1) : localName;
}

}  // namespace

bool isWebAddress(const std::string& text) { return text.rfind("http://", 0) == 0 || text.rfind("https://", 0) == 0; }

std::string withoutLabel(std::string address, std::size_t cut) {
    const auto label = address.find(" //");
    if (label != std::string::npos) address.erase(label, cut);
    return address;
}

WebSourceWindow::WebSourceWindow(WebSourceContext context, WeatherSourceKind kind, WebFetchRules rules,
                                 std::string name, std::string caption, int tuItem)
    : SourceWindow(context.loop, kind, std::move(name), std::move(caption), Rect{280, 160, 440, 402},
                   context.isSelected, context.hideChooser),
      context_(std::move(context)),
      rules_(rules) {
    ComboBoxTU.addItem("TU");
    ComboBoxTU.addItem("Loc");
    ComboBoxTU.setItemIndex(tuItem);
    ComboBoxPath.onChange = [this] { ComboBoxPathChange(); };
    ComboBoxTU.onChange = [this] { ComboBoxTUChange(); };
    ButtonFav.onClick = [this] { ButtonFavClick(); };
    SpeedButtonMenuAide.onClick = [this] { SpeedButtonMenuAideClick(); };
    form.onShow = [this] { FormShow(); };
    form.onClose = [this] { FormClose(); };
    // No indoor temperature and no trend.
    figureBoxes_ = {nullptr,       &CheckBoxText, &CheckBoxPatm, nullptr,        &CheckBoxVent,
                    &CheckBoxRafa, &CheckBoxDire, &CheckBoxTRes, &CheckBoxPluie, &CheckBoxHumiExt};
}

void WebSourceWindow::select(bool showWindow) {
    if (startingUp()) {
        // Restoring the settings holds the clock's tick: the fetch waits until the load is over, so that
        // a server that hangs delays no announcement. It still counts as the start's own fetch.
        fetchDue_ = true;
        context_.loop.post([this] {
            Running running(startUpFetch_);
            fetchDue_ = false;
            fetchAndRead();
        });
    } else {
        fetchAndRead();
    }
    if (showWindow) form.show();
}

bool WebSourceWindow::startingUp() const { return startUpFetch_ || (context_.startingUp && context_.startingUp()); }

void WebSourceWindow::fetchAndRead() {
    if (isWebAddress(EditDat.text())) submit(false);
    if (FetchError == 0) read();
}

void WebSourceWindow::EditDatKeyPress(char key) {
    if (key == '\r' && !downloading_) submit(false);
}

void WebSourceWindow::ButtonRafraichirClick() {
    Running running(refreshRunning_);
    if (favourites) favourites->hide();
    if (EditDat.text() != ComboBoxPath.text()) addToHistory(ComboBoxPath, EditDat.text());
    TimerMeteo.setInterval(SpinEditRafraichir.value() * 60000);
    if (refreshWaitsForStartUp() && startingUp()) return;
    read();
}

void WebSourceWindow::ComboBoxPathChange() {
    const std::string picked = ComboBoxPath.selectedItem();
    if (picked.empty() || picked == EditDat.text()) return;
    EditDat.setText(picked);
    if (!refreshRunning_) ButtonRafraichirClick();
    submit(false);
}

void WebSourceWindow::ComboBoxTUChange() {
    if (!refreshRunning_) ButtonRafraichirClick();
}

void WebSourceWindow::ButtonFavClick() {
    if (favourites) favourites->show();
}

void WebSourceWindow::SpeedButtonMenuAideClick() {
    if (context_.showHelp) context_.showHelp();
}

void WebSourceWindow::FormShow() {
    context_.desktop.setWarningBeep(false);
    hideChooser();
}

void WebSourceWindow::FormClose() {
    context_.desktop.setWarningBeep(true);
    if (favourites) favourites->hide();
}

void WebSourceWindow::FormActivate() {}

bool WebSourceWindow::FetchSourcePage(std::string url, std::string localName) {
    url = withoutLabel(std::move(url), rules_.labelCut);
    localName = localNameFor(url, localName);
    StaticTextErreur.setCaption(kDownloadingText);
    bool written = false;
    // A name taken from the address must stay a plain file of the working folder.
    int failure = rules_.downloadFailure;
    if (!localName.empty() && localName != "." && localName != ".." && localName.find('\\') == std::string::npos) {
        Running running(downloading_);
        try {
            context_.downloader.download(url, pathOf(localName));
            written = true;
        } catch (const DocumentTooLarge&) {
            failure = kDocumentTooLargeError;
        } catch (const std::exception&) {
        }
    }
    if (!written) FetchError = failure;
    StaticTextErreur.setCaption("");
    return written;
}

void WebSourceWindow::FetchAndCheck(const std::string& url, const std::string& localName) {
    // Reached again from the dispatching of a download under way: that one brings the fresh file.
    if (downloading_) return;
    context_.loop.processPending();
    FetchError = 0;
    if (!FetchSourcePage(url, localName)) {
        startTimerIfStopped();
        return;
    }
    checkFetched(localNameFor(withoutLabel(url, rules_.labelCut), localName));
}

void WebSourceWindow::checkFetched(const std::string& name) {
    const auto bytes = context_.files.read(pathOf(name));
    if (!bytes) {
        FetchError = 2;
        startTimerIfStopped();
        return;
    }
    const auto headSize = static_cast<std::ptrdiff_t>(std::min<std::size_t>(bytes->size(), 3));
    const std::string first(bytes->begin(), bytes->begin() + headSize);
    // One run of the extractor even when several of the first bytes are markers: a second run would
    // read the lines the first one kept instead of the page.
    if (first.find(rules_.marker) != std::string::npos) FetchError = extractPage();
}

void WebSourceWindow::loadDocument(const std::string& bytes) {
    FetchError = 0;
    if (!writeFile(rules_.localFile, bytes)) FetchError = 2;
    if (FetchError == 0) checkFetched(rules_.localFile);
    if (FetchError != 0) {
        showError();
        return;
    }
    StaticTextErreur.setCaption("");
    reading_.locator = rules_.localFile;
}

void WebSourceWindow::blackCaptions(std::initializer_list<TickBox*> boxes) {
    for (TickBox* box : boxes) box->setColour(Colour::Black);
}

void WebSourceWindow::resetCaptions(const char* humidityCaption, const char* rainCaption) {
    blackCaptions({&CheckBoxText, &CheckBoxPatm, &CheckBoxVent, &CheckBoxRafa});
    CheckBoxText.setCaption("T ext.(°C) = ");
    CheckBoxPatm.setCaption("P atm.(hPa) = ");
    CheckBoxVent.setCaption("Vent (km/h) = ");
    CheckBoxRafa.setCaption("Rafale (km/h) = ");
    CheckBoxDire.setCaption("Direction (°) = ");
    CheckBoxHumiExt.setCaption(humidityCaption);
    CheckBoxPluie.setCaption(rainCaption);
    Editdatemeteo.setText("");
}

void WebSourceWindow::colour(TickBox& box, bool outOfLimits) {
    box.setColour(outOfLimits ? Colour::Red : Colour::Black);
}

void WebSourceWindow::showFigure(Control& box, const FigureFormat& figure, double value, bool given) {
    reading_.*figure.field = value;
    box.setCaption(
        figureCaption(figure, given ? std::optional(value) : std::nullopt, context_.desktop.decimalSeparator()));
}

void WebSourceWindow::colourFigures() {
    const WeatherReading& r = reading_;
    if (showsValue(CheckBoxText)) colour(CheckBoxText, !kTemperatureLimits.contains(r.tempExt));
    // The wind chill is judged by the temperature limits, as the other figures of the window.
    if (showsValue(CheckBoxTRes))
        colour(CheckBoxTRes, r.feelsLike < kTemperatureLimits.lower || r.tempExt > kTemperatureLimits.upper);
    if (showsValue(CheckBoxPatm)) colour(CheckBoxPatm, !kPressureLimits.contains(r.pressure));
    if (showsValue(CheckBoxVent)) colour(CheckBoxVent, !kWindLimits.contains(r.windSpeed));
    if (showsValue(CheckBoxRafa)) colour(CheckBoxRafa, !kWindLimits.contains(r.gustSpeed));
}

std::string WebSourceWindow::fixed(double value, int decimals) const {
    return formatFixed(value, decimals, context_.desktop.decimalSeparator());
}

std::string WebSourceWindow::dateFieldText(double dateTime) const {
    return context_.desktop.shortDate(dateTime) + "  " + context_.desktop.longTime(dateTime);
}

std::string WebSourceWindow::pathOf(const std::string& name) const {
    // A path with a root (a drive or a leading slash) does not hang below the working folder.
    if (context_.workingFolder.empty() || fsPath(name).has_root_path()) return name;
    return pathIn(context_.workingFolder, name);
}

bool WebSourceWindow::fileExists(const std::string& name) const {
    return !name.empty() && context_.files.exists(pathOf(name));
}

std::optional<std::string> WebSourceWindow::readFile(const std::string& name) const {
    const auto bytes = context_.files.read(pathOf(name));
    if (!bytes) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

bool WebSourceWindow::writeFile(const std::string& name, const std::string& bytes) const {
    return context_.files.write(pathOf(name), bytes);
}

void WebSourceWindow::removeFile(const std::string& name) const { context_.files.remove(pathOf(name)); }

std::optional<double> WebSourceWindow::lastWriteTime(const std::string& name) const {
    const auto written = context_.files.modifiedAt(pathOf(name));
    if (!written) return std::nullopt;
    const std::time_t t = std::chrono::system_clock::to_time_t(*written);
    const std::tm* local = std::localtime(&t);
    if (!local) return std::nullopt;
    return encodeDateTime(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour, local->tm_min,
                          std::min(local->tm_sec, 59));
}

int WebSourceWindow::extractWorkingFile(const std::function<int(const std::string& page, std::string& kept)>& cut) {
    if (!fileExists(rules_.localFile)) return 4;
    const auto page = readFile(rules_.localFile);
    if (!page) return 5;
    std::string kept;
    if (const int code = cut(*page, kept); code != 0) return code;
    if (writeFile(rules_.localFile, kept)) return 0;
    context_.desktop.messageBox(std::string("Ne peut creer ") + rules_.localFile);
    return 8;
}

void WebSourceWindow::submissionFailed() {
    showError();
    startTimerIfStopped();
}

void WebSourceWindow::submissionAccepted(const std::string& address, bool fromRead) {
    reading_.locator = rules_.localFile;
    addToHistory(ComboBoxPath, address);
    if (!fromRead && !refreshRunning_) ButtonRafraichirClick();
}

void WebSourceWindow::writeExport(const std::string& name, const std::string& bytes, bool exportFolderFirst) {
    const bool shared = context_.files.isFolder(context_.exportFolder);
    const std::string sharedPath = shared ? pathIn(context_.exportFolder, name) : std::string();
    auto write = [&](const std::string& path) {
        if (!writeFile(path, bytes)) context_.desktop.messageBox("Ne peut creer " + name);
    };
    if (shared && exportFolderFirst) write(sharedPath);
    write(name);
    if (shared && !exportFolderFirst) write(sharedPath);
}

}  // namespace tintal
