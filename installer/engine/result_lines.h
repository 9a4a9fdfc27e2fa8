// The job's result lines: what the engine changed during a job ("Updated
// printer: " and a name, ...), which the main window lists once the job
// has ended. One list per process, shared by the worker thread, which
// appends, and the UI thread, which empties it before a job starts and
// reads it after the job's result has arrived; so no lock is needed.
#pragma once

#include <string>
#include <vector>

namespace brisvane {

std::vector<std::wstring>& jobResultLines();
void appendResultLine(const std::wstring& line);

}  // namespace brisvane
