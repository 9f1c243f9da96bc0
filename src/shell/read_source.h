#pragma once
// `tintal --read-source KIND PATH`: what a source window shows after one read of a file. Each kind is
// one row of a table; a new source needs one row.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/files.h"

namespace tintal {

struct SourceReadPorts {
    EventLoop& loop;
    Desktop& desktop;
    Files& files;
};

// The window after one read: one caption per line in the window's order (a figure out of its limits
// ends with " [rouge]"), then the date field and the error field (the status line for a live station).
struct SourceView {
    std::vector<std::string> lines;
    bool usable = false;  // the error field is empty (the station link is up)
};

// The kind words the table knows, in table order.
std::vector<std::string> readSourceKinds();

// nullopt for a kind the table does not know.
std::optional<SourceView> readSource(const std::string& kind, const std::string& path, SourceReadPorts ports);

// Prints the view, one line each; the exit status is 0 when the reading is usable.
int printSourceRead(const std::string& kind, const std::string& path, SourceReadPorts ports, std::ostream& out);

}  // namespace tintal
