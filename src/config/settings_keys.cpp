#include "config/settings_keys.h"

#include "base/numbers.h"

namespace tintal {

namespace {

std::string withEquals(const std::string& key) { return key + "="; }

KeyRead verdict(bool usable) { return usable ? KeyRead::Taken : KeyRead::Refused; }

// The value that states the default of an on/off key: nothing to do, but nothing wrong either.
std::string defaultWord(const std::string& onValue) {
    if (onValue == "Y") return "N";
    if (onValue == "N") return "Y";
    if (onValue == "0") return "1";
    return {};
}

// A key that writes onValue while `on` holds and acts on reading exactly onValue.
SettingsKey flag(std::string key, std::string onValue, std::function<bool()> on, std::function<void()> act) {
    const std::string match = withEquals(key);
    const std::string offValue = defaultWord(onValue);
    return {[match, onValue, on](std::vector<std::string>& lines) {
                if (on()) lines.push_back(match + onValue);
            },
            [match, onValue, offValue, act](const std::string& k, const std::string& value) {
                if (k != match) return KeyRead::NotMine;
                if (value == onValue) act();
                return verdict(value == onValue || (!offValue.empty() && value == offValue));
            }};
}

}  // namespace

SettingsKey tickedFlag(std::string key, TickBox& box) {
    return flag(
        std::move(key), "Y", [&box] { return box.checked(); }, [&box] { box.setChecked(true); });
}

SettingsKey untickedFlag(std::string key, TickBox& box) { return untickedFlag(std::move(key), box, "N"); }

SettingsKey untickedFlag(std::string key, TickBox& box, std::string offValue) {
    return flag(
        std::move(key), std::move(offValue), [&box] { return !box.checked(); }, [&box] { box.setChecked(false); });
}

SettingsKey markedFlag(std::string key, MenuItem& item, std::string value) {
    // The mark alone: a click would also run what the item does for the user (open a window, toggle).
    return flag(
        std::move(key), std::move(value), [&item] { return item.checked(); }, [&item] { item.setChecked(true); });
}

SettingsKey radioPair(std::string key, RadioButton& yes, RadioButton& no) {
    const std::string match = withEquals(key);
    return {[match, &yes](std::vector<std::string>& lines) { lines.push_back(match + (yes.checked() ? "Y" : "N")); },
            [match, &yes, &no](const std::string& k, const std::string& value) {
                if (k != match) return KeyRead::NotMine;
                (value == "Y" ? yes : no).setChecked(true);
                return verdict(value == "Y" || value == "N");
            }};
}

SettingsKey integerKey(std::string key, std::function<int()> get, std::function<bool(int)> set,
                       std::function<bool(int)> written) {
    const std::string match = withEquals(key);
    return {[match, get, written](std::vector<std::string>& lines) {
                const int value = get();
                if (!written || written(value)) lines.push_back(match + std::to_string(value));
            },
            [match, set](const std::string& k, const std::string& value) {
                if (k != match) return KeyRead::NotMine;
                const std::optional<int> number = strictToInt(value);
                return verdict(number && set(*number));
            }};
}

SettingsKey spinKey(std::string key, SpinBox& spin, std::function<bool(int)> written) {
    return integerKey(
        std::move(key), [&spin] { return spin.value(); },
        [&spin](int value) {
            spin.setValue(value);
            return value >= spin.minimum() && value <= spin.maximum();
        },
        std::move(written));
}

SettingsKey textKey(std::string key, std::function<std::string()> get, std::function<bool(const std::string&)> set,
                    bool writtenWhenEmpty) {
    const std::string match = withEquals(key);
    return {[match, get, writtenWhenEmpty](std::vector<std::string>& lines) {
                const std::string value = get();
                if (writtenWhenEmpty || !value.empty()) lines.push_back(match + value);
            },
            [match, set](const std::string& k, const std::string& value) {
                if (k != match) return KeyRead::NotMine;
                return verdict(set(value));
            }};
}

SettingsKey listKey(std::string key, ListControl& list, int cap) {
    const std::string match = withEquals(key);
    return {[match, &list](std::vector<std::string>& lines) {
                for (const std::string& item : list.items()) lines.push_back(match + item);
            },
            [match, &list, cap](const std::string& k, const std::string& value) {
                if (k != match) return KeyRead::NotMine;
                if (value.empty()) return KeyRead::Taken;
                if (list.count() >= cap) return KeyRead::Refused;
                list.addItem(value);
                return KeyRead::Taken;
            }};
}

SettingsKey numberedTexts(std::string prefix, std::vector<TextField*> fields) {
    return {[prefix, fields](std::vector<std::string>& lines) {
                for (std::size_t i = 0; i < fields.size(); ++i) {
                    if (!fields[i]->text().empty())
                        lines.push_back(prefix + std::to_string(i + 1) + "=" + fields[i]->text());
                }
            },
            [prefix, fields](const std::string& k, const std::string& value) {
                // The characters between the prefix and "=" must form a number 1..N.
                if (k.size() < prefix.size() + 2 || k.compare(0, prefix.size(), prefix) != 0) return KeyRead::NotMine;
                const std::optional<int> n =
                    strictToInt(std::string_view(k).substr(prefix.size(), k.size() - prefix.size() - 1));
                if (!n || *n < 1 || *n > static_cast<int>(fields.size())) return KeyRead::NotMine;
                fields[*n - 1]->setText(value);
                return KeyRead::Taken;
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
                return true;
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
