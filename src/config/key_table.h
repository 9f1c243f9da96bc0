#pragma once
// The keys of the settings file, in the order they are written. Each key knows how to write the
// state of its controls as lines and what reading a line of its own does to them.
//
// Reading follows one matching rule: a line is split at its first "=", and its key with that "="
// ("PERIOD=") is offered to every key of the table, none ending the search; comparisons are exact and
// case-sensitive. A key acts only on the values it knows and leaves its controls as they are otherwise.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tintal {

// What a key made of an entry offered to it.
enum class KeyRead {
    NotMine,  // another key's entry
    Taken,    // its own, with a value it knows (even one that changes nothing, such as a default)
    Refused,  // its own, with a value it cannot use
};

struct SettingsKey {
    // Appends this key's lines ("KEY=value"), none when its state is the default that goes unwritten.
    std::function<void(std::vector<std::string>& lines)> write;
    // Offered every entry read: keyWithEquals such as "PERIOD=", and the untrimmed value.
    std::function<KeyRead(const std::string& keyWithEquals, const std::string& value)> read;
};

// What became of one line of the file.
enum class LineVerdict { Taken, NoEquals, UnknownKey, InvalidValue };

class KeyTable {
public:
    void add(SettingsKey key) { keys_.push_back(std::move(key)); }
    void add(std::vector<SettingsKey> keys) {
        for (SettingsKey& key : keys) add(std::move(key));
    }
    std::vector<std::string> write() const;
    // Applies one line of the file; lines without a key are skipped. A line is taken when one key
    // takes it, even if others of the same name refuse its value (OLD=2 is one of three marks).
    LineVerdict apply(std::string_view line) const;

private:
    std::vector<SettingsKey> keys_;
};

}  // namespace tintal
