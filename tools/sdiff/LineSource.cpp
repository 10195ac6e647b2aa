#include "sdiff/LineSource.h"

bool LineSource::Next(std::string& line) {
  if (hasPending_) {
    line.swap(pending_);
    hasPending_ = false;
    ++lineNumber_;
    return true;
  }
  if (!NextRaw(line)) return false;
  ++lineNumber_;
  return true;
}

void LineSource::Unread(const std::string& line) {
  pending_ = line;
  hasPending_ = true;
  --lineNumber_;
}
