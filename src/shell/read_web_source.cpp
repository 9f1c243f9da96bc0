#include "shell/read_web_source.h"

#include <vector>

#include "platform/file_path.h"
#include "platform/files.h"
#include "weather/web/tform_meteo_aprs.h"
#include "weather/web/tform_meteo_metar.h"
#include "weather/web/tform_meteo_piu.h"

namespace tintal {

namespace {

WebSourceContext contextOf(const WebSourceRun& run) {
    return {run.loop, run.desktop, run.downloader, run.files, run.workingFolder, run.exportFolder, {}, {}, {}, {}};
}

std::optional<std::string> readLocal(const std::string& path, Files& files) {
    const auto bytes = files.read(path);
    if (!bytes) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

// An address is submitted as the user submits it; a local document is taken as the fetched one.
void feed(WebSourceWindow& window, const std::string& path, WebSourceRun& run) {
    if (isWebAddress(path)) {
        window.EditDat.setText(path);
        window.EditDatKeyPress('\r');
        return;
    }
    const auto document = readLocal(path, run.files);
    if (!document) {
        run.out << "cannot read " << path << '\n';
        window.StaticTextErreur.setCaption("Erreur fichier");
        return;
    }
    window.loadDocument(*document);
    if (window.FetchError == 0) window.read();
}

int report(const WebSourceWindow& window, const std::vector<const Control*>& captions, WebSourceRun& run) {
    run.out << window.form.caption() << '\n';
    for (const Control* control : captions) {
        if (control->visible()) run.out << control->caption() << '\n';
    }
    run.out << "Date : " << window.Editdatemeteo.text() << '\n';
    run.out << "Erreur : " << window.StaticTextErreur.caption() << '\n';
    return window.StaticTextErreur.caption().empty() ? 0 : 1;
}

std::vector<const Control*> figureCaptions(const WebSourceWindow& w) {
    return {&w.CheckBoxText, &w.CheckBoxPatm,  &w.CheckBoxVent,    &w.CheckBoxRafa, &w.CheckBoxDire,
            &w.CheckBoxTRes, &w.CheckBoxPluie, &w.CheckBoxHumiExt, &w.LabelTros};
}

}  // namespace

int readMetarSource(const std::string& path, WebSourceRun& run) {
    TFormMeteoMETAR window(contextOf(run));
    feed(window, path, run);
    auto captions = figureCaptions(window);
    captions.insert(captions.begin(), {&window.LabelICAO, &window.LabelNomICAO});
    return report(window, captions, run);
}

int readAprsSource(const std::string& path, WebSourceRun& run) {
    TFormMeteoAPRS window(contextOf(run));
    // A local file is the source's own kind of input: it is submitted like an address.
    if (!isWebAddress(path) && run.files.exists(path)) {
        window.EditDat.setText(path);
        window.EditDatKeyPress('\r');
    } else {
        feed(window, path, run);
    }
    return report(window, figureCaptions(window), run);
}

int readPioupiouSource(const std::string& path, WebSourceRun& run) {
    TFormMeteoPIU window(contextOf(run));
    feed(window, path, run);
    auto captions = figureCaptions(window);
    captions.insert(captions.begin(), &window.Labelnomstation);
    captions.push_back(&window.LabelVmin);
    return report(window, captions, run);
}

std::string linuxWebExportFolder(const char* xdgDataHome, const char* home) {
    if (xdgDataHome && *xdgDataHome) return utf8Text(fsPath(xdgDataHome) / "tintal" / "weather");
    if (home && *home) return utf8Text(fsPath(home) / ".local" / "share" / "tintal" / "weather");
    return {};
}

}  // namespace tintal
