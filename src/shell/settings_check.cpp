#include "shell/settings_check.h"

#include "shell/tintal_program.h"

namespace tintal {

int checkAndSaveSettings(TintalProgram& program, const std::string& shownPath, std::ostream& out, std::ostream& err) {
    if (program.settingsFile.state() != SettingsFile::State::Loaded) {
        err << shownPath << ": cannot be read; left as it is\n";
        return 1;
    }
    const auto& problems = program.settings.lineProblems();
    for (const SettingsLineProblem& p : problems) {
        err << shownPath << ':' << p.number << ": " << describe(p.why) << ": " << p.line << '\n';
    }
    program.settings.SaveConfig();
    const bool saved = program.form.EditData.text() != "Err: tintal.ini";
    out << shownPath << ' ' << (saved ? "saved" : "NOT saved");
    if (!problems.empty()) out << " without " << problems.size() << " line(s) it could not take";
    out << '\n';
    return saved && problems.empty() ? 0 : 1;
}

}  // namespace tintal
