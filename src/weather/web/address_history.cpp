#include "weather/web/address_history.h"

#include <vector>

namespace tintal {

void addToHistory(ComboBox& history, const std::string& address) {
    if (address.empty()) return;
    for (int i = history.count() - 1; i >= 0; --i) {
        if (history.items()[i] == address) {
            history.setItemIndex(i);
            return;
        }
    }
    if (history.count() < kHistoryLength) {
        history.addItem(address);
        history.setItemIndex(history.count() - 1);
        return;
    }
    std::vector<std::string> kept(history.items().begin(), history.items().begin() + kHistoryLength - 1);
    history.clearItems();
    history.addItem(address);
    for (auto& item : kept) history.addItem(std::move(item));
    history.setItemIndex(0);
}

}  // namespace tintal
