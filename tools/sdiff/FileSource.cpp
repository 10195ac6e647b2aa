#include "sdiff/FileSource.h"

#include <filesystem>
#include <system_error>

#include "sdiff/Report.h"

FileSource::FileSource(const std::string& path) : ByteSource(path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec) ||
      (fp_ = std::fopen(path.c_str(), "rb")) == nullptr)
    SdError("FILE " + path + " CAN NOT BE OPENED!");
}

FileSource::~FileSource() {
  if (fp_) std::fclose(fp_);
}

size_t FileSource::ReadRaw(char* buf, size_t n) {
  size_t k = std::fread(buf, 1, n, fp_);
  if (k == 0 && std::ferror(fp_)) SdError("FILE " + Name() + " CAN NOT BE READ!");
  return k;
}
