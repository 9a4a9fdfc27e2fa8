#include "installer/engine/result_lines.h"

#include "platform/api/ports.h"

namespace brisvane {

namespace {

struct JobResultLines {
  std::vector<std::wstring> lines;
};

}  // namespace

std::vector<std::wstring>& jobResultLines() {
  return plat::processLocal<JobResultLines>().lines;
}

void appendResultLine(const std::wstring& line) {
  jobResultLines().push_back(line);
}

}  // namespace brisvane
