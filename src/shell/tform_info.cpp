#include "shell/tform_info.h"

#include "config/settings_file.h"
#include "platform/file_path.h"
#include "shell/publisher.h"
#include "shell/version_check.h"

namespace tintal {

TFormInfo::TFormInfo(Downloader& downloader, Files& files, Desktop& desktop, std::string workingFolder,
                     std::string versionsAddress)
    : downloader_(downloader),
      files_(files),
      desktop_(desktop),
      versionsPath_(pathIn(workingFolder, "versions.txt")),
      versionsAddress_(versionsAddress.empty() ? kVersionsAddress : std::move(versionsAddress)) {
    Panel1.setCaption(kPublisherName);
    Label2.setCaption(kPublisherAuthor);
    LabelUrl3.setCaption(kPublisherSite);
    BitBtn1.onClick = [this] { FormInfo.hide(); };
    BitBtnNewrelease.onClick = [this] { BitBtnNewreleaseClick(); };
}

std::string TFormInfo::FetchLatestVersion(const std::string& name) {
    try {
        downloader_.download(versionsAddress_, versionsPath_);
    } catch (const std::exception&) {
        files_.remove(versionsPath_);
        return {};
    }
    const std::vector<std::uint8_t> bytes = files_.read(versionsPath_).value_or(std::vector<std::uint8_t>{});
    files_.remove(versionsPath_);
    return versionFor(bytes, name);
}

bool TFormInfo::announceIfNewer(const std::string& published) {
    if (VersionValue(published) <= VersionValue(kProgramVersion)) return false;
    desktop_.beep();
    desktop_.showMessage("Une version plus récente de TINTAL est disponible sur " + kDownloadPage,
                         Desktop::MessageKind::Plain);
    return true;
}

void TFormInfo::CheckVersionAtStart() {
    const std::string published = FetchLatestVersion("tintal");
    if (!published.empty()) announceIfNewer(published);
}

void TFormInfo::BitBtnNewreleaseClick() {
    const std::string published = FetchLatestVersion("tintal");
    if (published.empty()) {
        desktop_.showMessage("Echec Internet", Desktop::MessageKind::Warning);
    } else if (!announceIfNewer(published)) {
        desktop_.showMessage("Vous êtes à jour", Desktop::MessageKind::Plain);
    }
}

void TFormInfo::LabelUrl3Click() { desktop_.openWithShell(kPublisherSite); }

}  // namespace tintal
