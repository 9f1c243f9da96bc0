#pragma once
// The Linux program's commands, one file each; main picks one from the parsed command line.
#include "shell/command_line.h"

namespace tintal {

// Each returns the program's exit status; `at` is the time to announce for (--at, else now).
int runClock(const Options& options, double at);
int speakNow(const Options& options, double at);
int saveConfig(const Options& options, double at);
int preview(const Options& options, double at);
int listDevices(const Options& options, double at);
int listPorts(const Options& options, double at);
int testPtt(const Options& options, double at);
int readSourceOnce(const Options& options, double at);

}  // namespace tintal
