#include "sdiff/SdDiffWriter.h"

#include <cmath>
#include <cstring>
#include <filesystem>

#include "sdiff/SdObsMapping.h"
#include "sdiff/SdReport.h"

namespace {

// A pair of length-prefixed texts under a 16-character label.
std::string Pair(const char* label, const std::string (&t)[2], size_t maxLen) {
  std::string out;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%-16s:", label);
  out = buf;
  for (int i = 0; i < 2; ++i) {
    std::string s = t[i].substr(0, maxLen);
    std::snprintf(buf, sizeof buf, "%3d ", static_cast<int>(s.size()));
    out += buf + s;
  }
  return out + '\n';
}

}  // namespace

SdDiffWriter::SdDiffWriter(const std::string& outPath) : outPath_(outPath) {
  std::filesystem::path p(outPath);
  std::string dir = p.parent_path().string();
  std::string stem = (dir.empty() ? "" : dir + "/") + "." + p.filename().string();
  bodyPath_ = stem + ".body.tmp";
  finalTmpPath_ = stem + ".tmp";
  SdAddCleanupFile(bodyPath_);
  SdAddCleanupFile(finalTmpPath_);
  body_ = std::fopen(bodyPath_.c_str(), "wb");
  if (!body_) SdError("OUTPUT FILE " + outPath + " CAN NOT BE WRITTEN!");
}

SdDiffWriter::~SdDiffWriter() {
  if (body_) {
    std::fclose(body_);
    std::remove(bodyPath_.c_str());
  }
}

std::string SdDiffWriter::HeaderText(const SdDiffHeader& h, bool hasObservations) {
  std::string out = "SINGLE_DIFFERENCES\n";
  out += Pair("MARKER NAME", h.markerName, 60);
  out += Pair("MARKER NUMBER", h.markerNumber, 20);
  out += Pair("RECEIVER TYPE", h.receiverType, 20);
  out += Pair("ANTENNA TYPE", h.antennaType, 20);
  out += Pair("ANTENNA SERIAL", h.antennaSerial, 20);
  char buf[256];
  std::snprintf(buf, sizeof buf, "XYZ POSITION    :%14.4Lf%14.4Lf%14.4Lf  %14.4Lf%14.4Lf%14.4Lf\n",
                h.xyz[0][0], h.xyz[0][1], h.xyz[0][2], h.xyz[1][0], h.xyz[1][1], h.xyz[1][2]);
  out += buf;
  std::snprintf(buf, sizeof buf, "DELTA N/E/U     :%12.4Lf%12.4Lf%12.4Lf%12.4Lf%12.4Lf%12.4Lf\n",
                h.neu[0][0], h.neu[0][1], h.neu[0][2], h.neu[1][0], h.neu[1][1], h.neu[1][2]);
  out += buf;
  std::snprintf(buf, sizeof buf, "# & TYPES OF OBS:%3d ", static_cast<int>(h.types.size()));
  out += buf;
  for (int t : h.types) out += std::string(" ") + sdmap::Name(t);
  out += "\nDIFFERENCE LEVEL:  1\n";
  out += std::string("END OF HEADER ") + (hasObservations ? "1" : "0") + "\n";
  return out;
}

void SdDiffWriter::WriteEpoch(const mjd& t, long double tagOffset, long double clockBase,
                              long double clockRover, const std::vector<SdDiffRecord>& records) {
  if (epochs_ == 0) first_ = t;
  unsigned long day = t.GetMJDay();
  long double sec = std::round(t.GetSecond() * 1e7L) / 1e7L;
  if (sec >= 86400.0L) {
    sec -= 86400.0L;
    ++day;
  }
  std::fprintf(body_, "%3d %6lu %15.7Lf %15.6Lf %15.6Lf %15.6Lf\n",
               static_cast<int>(records.size()), day, sec, tagOffset * 1e6L, clockBase * 1e6L,
               clockRover * 1e6L);
  for (const SdDiffRecord& r : records) {
    std::fprintf(body_, "%3d", r.sat);
    for (long double v : r.values) std::fprintf(body_, "%17.4Lf", v);
    std::fputc('\n', body_);
  }
  ++epochs_;
  records_ += static_cast<long>(records.size());
}

void SdDiffWriter::Finish(const SdDiffHeader& header) {
  if (std::fflush(body_) != 0 || std::ferror(body_))
    SdError("OUTPUT FILE " + outPath_ + " CAN NOT BE WRITTEN!");
  std::fclose(body_);
  body_ = nullptr;
  std::FILE* in = std::fopen(bodyPath_.c_str(), "rb");
  std::FILE* out = std::fopen(finalTmpPath_.c_str(), "wb");
  if (!in || !out) SdError("OUTPUT FILE " + outPath_ + " CAN NOT BE WRITTEN!");
  std::string head = HeaderText(header, epochs_ > 0);
  bool ok = std::fwrite(head.data(), 1, head.size(), out) == head.size();
  std::vector<char> buf(1 << 16);
  for (size_t k; ok && (k = std::fread(buf.data(), 1, buf.size(), in)) > 0;)
    ok = std::fwrite(buf.data(), 1, k, out) == k;
  std::fclose(in);
  ok = (std::fclose(out) == 0) && ok;
  if (!ok) SdError("OUTPUT FILE " + outPath_ + " CAN NOT BE WRITTEN!");
  std::remove(bodyPath_.c_str());
  if (std::rename(finalTmpPath_.c_str(), outPath_.c_str()) != 0)
    SdError("OUTPUT FILE " + outPath_ + " CAN NOT BE WRITTEN!");
  SdClearCleanupFiles();
}
