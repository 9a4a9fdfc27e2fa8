// The print jobs of the maker's printers (the checks themselves are
// operations of CDriverEngine).
#pragma once

namespace brisvane {

// True when no maker printer has a job in its queue; false when one has,
// and when the printers cannot be listed.
bool noPendingJobs();

}  // namespace brisvane
