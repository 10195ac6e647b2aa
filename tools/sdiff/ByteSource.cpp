#include "sdiff/ByteSource.h"

#include <cstring>

size_t ByteSource::Read(char* buf, size_t n) {
  if (pushbackPos_ < pushback_.size()) {
    size_t k = std::min(n, pushback_.size() - pushbackPos_);
    std::memcpy(buf, pushback_.data() + pushbackPos_, k);
    pushbackPos_ += k;
    return k;
  }
  return ReadRaw(buf, n);
}

std::string ByteSource::Peek(size_t n) {
  std::string head;
  char buf[256];
  while (head.size() < n) {
    size_t k = Read(buf, std::min(n - head.size(), sizeof buf));
    if (k == 0) break;
    head.append(buf, k);
  }
  pushback_ = head + pushback_.substr(pushbackPos_);
  pushbackPos_ = 0;
  return head;
}
