#include "config/settings_keys.h"

#include "base/numbers.h"

namespace tintal {

namespace {

std::string withEquals(const std::string& key) { return key + "="; }

// A key that writes onValue while `on` holds and acts on reading exactly onValue.
SettingsKey flag(std::string key, std::string onValue, std::function<bool()> on, std::function<void()> act) {
    const std::string match = withEquals(key);
    return {[match, onValue, on](std::vector<std::string>& lines) {
                if (on()) lines.push_back(match + onValue);
            },
            [match, onValue, act](const std::string& k, const std::string& value) {
                if (k == match && value == onValue) act();
            }};
}

}  // namespace

SettingsKey tickedFlag(std::string key, TickBox& box) {
    return flag(std::move(key), "Y", [&box] { return box.checked(); }, [&box] { box.setChecked(true); });
}

SettingsKey untickedFlag(std::string key, TickBox& box) { return untickedFlag(std::move(key), box, "N"); }

SettingsKey untickedFlag(std::string key, TickBox& box, std::string offValue) {
    return flag(std::move(key), std::move(offValue), [&box] { return !box.checked(); }, [&box] { box.setChecked(false); });
}

SettingsKey markedFlag(std::string key, MenuItem& item, std::string value) {
    // The mark alone: a click would also run what the item does for the user (open a window, toggle).
    return flag(std::move(key), std::move(value), [&item] { return item.checked(); }, [&item] { item.setChecked(true); });
}

SettingsKey radioPair(std::string key, RadioButton& yes, RadioButton& no) {
    const std::string match = withEquals(key);
    return {[match, &yes](std::vector<std::string>& lines) { lines.push_back(match + (yes.checked() ? "Y" : "N")); },
            [match, &yes, &no](const std::string& k, const std::string& value) {
                if (k != match) return;
                (value == "Y" ? yes : no).setChecked(true);
            }};
}

SettingsKey integerKey(std::string key, std::function<int()> get, std::function<void(int)> set,
                       std::function<bool(int)> written) {
    const std::string match = withEquals(key);
    return {[match, get, written](std::vector<std::string>& lines) {
                const int value = get();
                if (!written || written(value)) lines.push_back(match + std::to_string(value));
            },
            [match, set](const std::string& k, const std::string& value) {
                if (k != match) return;
                if (const std::optional<int> number = strictToInt(value)) set(*number);
            }};
}

SettingsKey spinKey(std::string key, SpinBox& spin, std::function<bool(int)> written) {
    return integerKey(
        std::move(key), [&spin] { return spin.value(); }, [&spin](int value) { spin.setValue(value); }, std::move(written));
}

SettingsKey textKey(std::string key, std::function<std::string()> get, std::function<void(const std::string&)> set,
                    bool writtenWhenEmpty) {
    const std::string match = withEquals(key);
    return {[match, get, writtenWhenEmpty](std::vector<std::string>& lines) {
                const std::string value = get();
                if (writtenWhenEmpty || !value.empty()) lines.push_back(match + value);
            },
            [match, set](const std::string& k, const std::string& value) {
                if (k == match) set(value);
            }};
}

SettingsKey listKey(std::string key, ListControl& list, int cap) {
    const std::string match = withEquals(key);
    return {[match, &list](std::vector<std::string>& lines) {
                for (const std::string& item : list.items()) lines.push_back(match + item);
            },
            [match, &list, cap](const std::string& k, const std::string& value) {
                if (k == match && !value.empty() && list.count() < cap) list.addItem(value);
            }};
}

SettingsKey numberedTexts(std::string prefix, std::vector<TextField*> fields) {
    return {[prefix, fields](std::vector<std::string>& lines) {
                for (std::size_t i = 0; i < fields.size(); ++i) {
                    if (!fields[i]->text().empty()) lines.push_back(prefix + std::to_string(i + 1) + "=" + fields[i]->text());
                }
            },
            [prefix, fields](const std::string& k, const std::string& value) {
                // The characters between the prefix and "=" must form a number 1..N.
                if (k.size() < prefix.size() + 2 || k.compare(0, prefix.size(), prefix) != 0) return;
                const std::optional<int> n = strictToInt(std::string_view(k).substr(prefix.size(), k.size() - prefix.size() - 1));
                if (n && *n >= 1 && *n <= static_cast<int>(fields.size())) fields[*n - 1]->setText(value);
            }};
}

std::vector<SettingsKey> announceFlagKeys(const std::string& prefix, const AnnounceBoxes& boxes) {
    std::vector<SettingsKey> keys;
    for (const auto& [suffix, box] : boxes) keys.push_back(tickedFlag(prefix + suffix, *box));
    return keys;
}

std::vector<SettingsKey> geometryKeys(const std::string& prefix, Window& window, GeometryOrder order) {
    auto side = [&window, &prefix](const char* name, int Rect::*field) {
        return integerKey(
            prefix + name, [&window, field] { return window.bounds().*field; },
            [&window, field](int value) {
                Rect bounds = window.bounds();
                bounds.*field = value;
                window.setBounds(bounds);
            });
    };
    std::vector<SettingsKey> keys{side("TOP", &Rect::top), side("LEFT", &Rect::left)};
    if (order == GeometryOrder::TopLeftHeightWidth) {
        keys.push_back(side("HEIGHT", &Rect::height));
        keys.push_back(side("WIDTH", &Rect::width));
    } else {
        keys.push_back(side("WIDTH", &Rect::width));
        keys.push_back(side("HEIGHT", &Rect::height));
    }
    return keys;
}

}  // namespace tintal
