#pragma once
// tintal --save-config: the settings file loaded as at start, each line it could not take reported,
// and the settings saved back when the file could be read.
#include <ostream>
#include <string>

namespace tintal {

class TintalProgram;

// The program has run its load. Prints "PATH:LINE: why: line" on err for each line not taken and the
// outcome on out. Returns 1 when the file could not be read, had such lines or could not be saved;
// a file that could not be read is left as it is.
int checkAndSaveSettings(TintalProgram& program, const std::string& shownPath, std::ostream& out, std::ostream& err);

}  // namespace tintal
