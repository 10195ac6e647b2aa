#include "sdiff/LzwSource.h"

#include "sdiff/Report.h"

LzwSource::LzwSource(std::unique_ptr<ByteSource> in)
    : ByteSource(in->Name()), in_(std::move(in)), inbuf_(1 << 16) {
  std::string head = in_->Peek(3);
  if (head.size() < 3 || static_cast<unsigned char>(head[0]) != 0x1f ||
      static_cast<unsigned char>(head[1]) != 0x9d)
    SdError("FILE " + Name() + " IS NOT A VALID UNIX COMPRESS FILE!");
  char skip[3];
  in_->Read(skip, 3);
  unsigned flags = static_cast<unsigned char>(head[2]);
  maxbits_ = flags & 0x1f;
  blockMode_ = (flags & 0x80) != 0;
  if (maxbits_ < 9 || maxbits_ > 16 || (flags & 0x60) != 0)
    SdError("FILE " + Name() + " USES AN UNSUPPORTED UNIX COMPRESS VARIANT!");
  free_ = blockMode_ ? 257 : 256;
  prefix_.assign(size_t(1) << maxbits_, 0);
  suffix_.assign(size_t(1) << maxbits_, 0);
  for (int i = 0; i < 256; ++i) suffix_[i] = static_cast<unsigned char>(i);
  stack_.reserve(size_t(1) << maxbits_);
}

bool LzwSource::FillBits(int need) {
  while (nbits_ < need) {
    if (inPos_ == inLen_) {
      inLen_ = in_->Read(inbuf_.data(), inbuf_.size());
      inPos_ = 0;
      if (inLen_ == 0) return false;
    }
    bits_ |= uint64_t(static_cast<unsigned char>(inbuf_[inPos_++])) << nbits_;
    nbits_ += 8;
  }
  return true;
}

void LzwSource::ChangeWidth(int width) {
  long rest = codesAtWidth_ % 8;
  if (rest != 0) {
    // The compressor writes whole groups of 8 codes; skip the unused slots.
    for (long skip = (8 - rest) * width_; skip > 0;) {
      int k = static_cast<int>(std::min<long>(skip, 32));
      if (!FillBits(k)) {
        nbits_ = 0;
        break;
      }
      bits_ >>= k;
      nbits_ -= k;
      skip -= k;
    }
  }
  width_ = width;
  codesAtWidth_ = 0;
}

bool LzwSource::NextCode(uint32_t& code) {
  if (free_ > (uint32_t(1) << width_) - 1 && width_ < maxbits_) ChangeWidth(width_ + 1);
  if (!FillBits(width_)) return false;
  code = static_cast<uint32_t>(bits_ & ((uint64_t(1) << width_) - 1));
  bits_ >>= width_;
  nbits_ -= width_;
  ++codesAtWidth_;
  return true;
}

bool LzwSource::DecodeNext() {
  uint32_t c;
  for (;;) {
    if (!NextCode(c)) return false;
    if (!(blockMode_ && c == kClear)) break;
    ChangeWidth(9);
    free_ = 257;
    prev_ = -1;
  }
  if (prev_ < 0) {
    if (c >= 256) SdError("FILE " + Name() + " HAS CORRUPT UNIX COMPRESS DATA!");
    stack_.push_back(static_cast<unsigned char>(c));
    prev_ = static_cast<int32_t>(c);
    return true;
  }
  if (c > free_) SdError("FILE " + Name() + " HAS CORRUPT UNIX COMPRESS DATA!");
  uint32_t cur = c;
  size_t base = stack_.size();
  if (c == free_) {
    // The code being defined right now: the previous string and its own first byte.
    stack_.push_back(0);
    cur = static_cast<uint32_t>(prev_);
  }
  while (cur >= 256) {
    stack_.push_back(suffix_[cur]);
    cur = prefix_[cur];
  }
  stack_.push_back(static_cast<unsigned char>(cur));
  unsigned char first = static_cast<unsigned char>(cur);
  if (c == free_) stack_[base] = first;
  if (free_ < (uint32_t(1) << maxbits_)) {
    prefix_[free_] = static_cast<uint16_t>(prev_);
    suffix_[free_] = first;
    ++free_;
  }
  prev_ = static_cast<int32_t>(c);
  return true;
}

size_t LzwSource::ReadRaw(char* buf, size_t n) {
  size_t k = 0;
  while (k < n) {
    if (stack_.empty()) {
      if (done_ || !DecodeNext()) {
        done_ = true;
        break;
      }
    }
    while (k < n && !stack_.empty()) {
      buf[k++] = static_cast<char>(stack_.back());
      stack_.pop_back();
    }
  }
  return k;
}
