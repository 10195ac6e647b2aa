#include "core/cfilef.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

int FileExists(const char* path) {
  if (path == nullptr || *path == '\0') return 0;
  // A folder opens as a stream on some systems but holds no data to read.
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return 0;
  std::ifstream in(path);
  return in.good() ? 1 : 0;
}

int FileExists(const std::string& path) {
  return FileExists(path.c_str());
}

int RemFile(const char* path) {
  if (std::remove(path) == 0) return 1;
  return errno == ENOENT ? 1 : 0;
}

static const char* LastSeparator(const char* path) {
  const char* a = std::strrchr(path, '/');
  const char* b = std::strrchr(path, '\\');
  if (a == nullptr) return b;
  if (b == nullptr) return a;
  return a > b ? a : b;
}

void GetBasename(const char* path, char* out) {
  const char* sep = LastSeparator(path);
  std::strcpy(out, sep ? sep + 1 : path);
}

void GetDirname(const char* path, char* out) {
  const char* sep = LastSeparator(path);
  size_t n = sep ? static_cast<size_t>(sep - path) : 0;
  std::memcpy(out, path, n);
  out[n] = '\0';
}
