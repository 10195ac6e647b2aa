#include "sdiff/SdLineSource.h"

bool SdLineSource::Next(std::string& line) {
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

void SdLineSource::Unread(const std::string& line) {
  pending_ = line;
  hasPending_ = true;
  --lineNumber_;
}
