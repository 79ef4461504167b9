#include "console/line_history.h"

namespace phonebook {

bool LineHistory::add(std::string_view line) {
  if (line.empty() || line.size() > mostBytes || (!lines_.empty() && lines_.back() == line)) {
    return false;
  }
  lines_.emplace_back(line);
  bytes_ += line.size();
  auto kept = lines_.begin();  // the oldest line kept
  while (lines_.end() - kept > std::ptrdiff_t{mostLines} || bytes_ > mostBytes) {
    bytes_ -= kept->size();
    ++kept;
  }
  lines_.erase(lines_.begin(), kept);
  return true;
}

}  // namespace phonebook
