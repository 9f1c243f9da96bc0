#include "shell/read_source.h"

#include <functional>

#include "platform/simulated_station_library.h"
#include "weather/stations/tform_meteo.h"
#include "weather/stations/tform_meteo_pro2.h"
#include "weather/stations/tform_meteo_w23.h"
#include "weather/stations/tform_meteo_w28.h"

namespace tintal {

namespace {

template <typename Figure>
std::string shown(const Figure& figure) {
    return figure.caption() + (figure.colour() == Colour::Red ? " [rouge]" : "");
}

template <typename Window>
SourceView readFile(const std::string& path, SourceReadPorts ports) {
    SharedTrendThreshold threshold;
    Window window({ports.loop, ports.desktop, ports.files, threshold, [] { return true; }, {}});
    window.setFile(path);
    if (!window.reading().locator.empty()) window.read();
    SourceView view;
    for (const TickBox* box : window.figureBoxes()) view.lines.push_back(shown(*box));
    view.lines.push_back(shown(window.LabelHumInt));
    view.lines.push_back(shown(window.LabelTros));
    view.lines.push_back(window.Editdatemeteo.text());
    view.lines.push_back(window.StaticTextErreur.caption());
    view.usable = window.StaticTextErreur.caption().empty();
    return view;
}

// The live station, simulated: PATH holds its script of figures (see parseStationScript).
SourceView readStation(const std::string& path, SourceReadPorts ports) {
    SourceView view;
    const auto bytes = ports.files.readShared(path);
    std::string error = "Erreur fichier";
    const auto script = bytes ? parseStationScript(std::string(bytes->begin(), bytes->end()), error) : std::nullopt;
    if (!script) {
        view.lines.push_back(error);
        return view;
    }
    SimulatedStationLibrary library(*script);
    TFormMeteo window({ports.loop,
                       ports.desktop,
                       library,
                       [] { return true; },
                       {},
                       [] { return false; },
                       [] {
                           return std::vector<std::string>{"No COM", "COM1"};
                       },
                       {}});
    window.FormCreate();
    window.choosePort(1);
    for (const TickBox* box : window.figureBoxes()) view.lines.push_back(shown(*box));
    view.lines.push_back(window.StaticTextStatus.caption());
    view.usable = window.reading().linkOk;
    return view;
}

struct SourceKindRow {
    const char* word;
    std::function<SourceView(const std::string&, SourceReadPorts)> read;
};

const std::vector<SourceKindRow>& table() {
    static const std::vector<SourceKindRow> rows{
        {"w23", readFile<TFormMeteoW23>},
        {"w28", readFile<TFormMeteoW28>},
        {"pro2", readFile<TFormMeteoPro2>},
        {"mon", readStation},
    };
    return rows;
}

}  // namespace

std::vector<std::string> readSourceKinds() {
    std::vector<std::string> words;
    for (const SourceKindRow& row : table()) words.emplace_back(row.word);
    return words;
}

std::optional<SourceView> readSource(const std::string& kind, const std::string& path, SourceReadPorts ports) {
    for (const SourceKindRow& row : table()) {
        if (kind == row.word) return row.read(path, ports);
    }
    return std::nullopt;
}

int printSourceRead(const std::string& kind, const std::string& path, SourceReadPorts ports, std::ostream& out) {
    const std::optional<SourceView> view = readSource(kind, path, ports);
    if (!view) return 2;
    for (const std::string& line : view->lines) out << line << '\n';
    return view->usable ? 0 : 1;
}

}  // namespace tintal
