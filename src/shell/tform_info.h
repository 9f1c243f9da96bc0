#pragma once
// The info window: title, version, publisher, and the check for a newer version on the publisher's
// site, by hand from its button or once at start-up.
#include <string>

#include "platform/desktop.h"
#include "platform/downloader.h"
#include "platform/files.h"
#include "widgets/button.h"
#include "widgets/label.h"
#include "widgets/window.h"

namespace tintal {

class TFormInfo {
public:
    // versionsAddress: the publisher's versions file (a test server's in tests).
    TFormInfo(Downloader& downloader, Files& files, Desktop& desktop, std::string workingFolder = {},
              std::string versionsAddress = {});

    // The version published for `name`, or empty when none could be had. Never throws.
    std::string FetchLatestVersion(const std::string& name);
    // Silent unless a newer version is published.
    void CheckVersionAtStart();
    void BitBtnNewreleaseClick();
    void LabelUrl3Click();

    Window FormInfo{"TFormInfo", "Info", Rect{198, 107, 391, 289}};
    Label Panel1{"Panel1"};
    Label Label1{"Label1", "TINTAL"};
    Label Label2{"Label2"};
    Label LabelUrl3{"LabelUrl3", "", Colour::Blue};
    Button BitBtn1{"BitBtn1", "OK"};
    Button BitBtnNewrelease{"BitBtnNewrelease", "Voir si une version plus récente est disponible"};

private:
    // True (after the beep and the message) when the published version is newer than this one.
    bool announceIfNewer(const std::string& published);

    Downloader& downloader_;
    Files& files_;
    Desktop& desktop_;
    std::string versionsPath_;
    std::string versionsAddress_;
};

}  // namespace tintal
