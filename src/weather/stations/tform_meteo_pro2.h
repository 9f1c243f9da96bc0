#pragma once
// The Davis Vantage Pro2 source: the monthly archive files (.wlk) of the station software.
#include <optional>

#include "weather/file_source_window.h"
#include "weather/stations/vantage_archive.h"

namespace tintal {

class TFormMeteoPro2 : public FileSourceWindow {
public:
    explicit TFormMeteoPro2(SourceWindowContext context);

    Label LabelFichier{"LabelFichier", "Fichier .wlk :"};
    Label GroupBoxPression{"GroupBoxPression", "Pression"};
    TickBox CheckBoxFichier{"CheckBoxFichier", "Toujours chercher le fichier du mois actuel", true};

    // The month of the file the last read opened (its name, or the current month after a follow-up);
    // nullopt when that name states no month.
    std::optional<WlkMonth> month;
    std::int32_t recordCount = 0;  // records the header of the last good read announced

protected:
    bool decodeAndShow(const std::vector<std::uint8_t>& bytes) override;
    // The archive may belong to a month the station software has not started yet: wait for the user.
    bool retryWhenMissing() const override { return false; }
    bool goodReadClearsError() const override { return true; }
    // The locator, or the current month's archive beside it once that file exists.
    std::string fileToRead() override;

private:
    void showObservationDate(double observedAt);
    void showPressureTrend(const VantageArchiveReading& r);
};

}  // namespace tintal
