#include "console/line_history.h"

namespace phonebook {

bool LineHistory::add(std::string_view line) {
  if (line.empty() || line.size() > mostBytes || (!lines_.empty() && lines_.back() == line)) {
    return false;
  }
  lines_.emplace_back(line);
  bytes_ += line.size();
  while (lines_.size() > mostLines || bytes_ > mostBytes) {
    bytes_ -= lines_.front().size();
    lines_.pop_front();
  }
  return true;
}

}  // namespace phonebook
