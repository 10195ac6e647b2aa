#include "sdiff/GzipSource.h"

#include "sdiff/Report.h"

GzipSource::GzipSource(std::unique_ptr<ByteSource> in)
    : ByteSource(in->Name()), in_(std::move(in)), inbuf_(1 << 18) {
  if (inflateInit2(&zs_, 15 + 16) != Z_OK) SdError("GZIP DECODER CAN NOT BE STARTED!");
}

GzipSource::~GzipSource() {
  inflateEnd(&zs_);
}

bool GzipSource::Refill() {
  size_t k = in_->Read(reinterpret_cast<char*>(inbuf_.data()), inbuf_.size());
  zs_.next_in = inbuf_.data();
  zs_.avail_in = static_cast<uInt>(k);
  return k > 0;
}

bool GzipSource::NextMember() {
  if (zs_.avail_in == 0 && !Refill()) return false;
  if (zs_.avail_in < 2 && zs_.next_in[0] == 0x1f) {
    // The second magic byte lies in the next block of the file.
    std::string rest(reinterpret_cast<char*>(zs_.next_in), zs_.avail_in);
    char c;
    if (in_->Read(&c, 1) == 1) rest += c;
    std::copy(rest.begin(), rest.end(), inbuf_.begin());
    zs_.next_in = inbuf_.data();
    zs_.avail_in = static_cast<uInt>(rest.size());
  }
  if (zs_.avail_in >= 2 && zs_.next_in[0] == 0x1f && zs_.next_in[1] == 0x8b) {
    inflateReset(&zs_);
    return true;
  }
  // Whatever follows the last member (often zero padding of a transfer) is ignored.
  return false;
}

size_t GzipSource::ReadRaw(char* buf, size_t n) {
  if (done_ || n == 0) return 0;
  zs_.next_out = reinterpret_cast<unsigned char*>(buf);
  zs_.avail_out = static_cast<uInt>(n);
  while (zs_.avail_out == n) {
    if (zs_.avail_in == 0 && !Refill())
      SdError("FILE " + Name() + " IS TRUNCATED (GZIP DATA ENDS INSIDE A MEMBER)!");
    int rc = inflate(&zs_, Z_NO_FLUSH);
    if (rc == Z_STREAM_END) {
      if (!NextMember()) {
        done_ = true;
        break;
      }
    } else if (rc != Z_OK) {
      SdError("FILE " + Name() + " HAS CORRUPT GZIP DATA!");
    }
  }
  return n - zs_.avail_out;
}
