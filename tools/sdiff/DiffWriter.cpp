#include "sdiff/DiffWriter.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "gnss/neu.h"
#include "gnss/xyz.h"
#include "sdiff/FixedText.h"
#include "sdiff/ObsMapping.h"
#include "sdiff/PhsDiffHeader.h"
#include "sdiff/Report.h"

DiffWriter::DiffWriter(const std::string& outPath, const DiffHeader& provisional)
    : outPath_(outPath) {
  std::filesystem::path p(outPath);
  std::string dir = p.parent_path().string();
  std::string stem = (dir.empty() ? "" : dir + "/") + "." + p.filename().string();
  rewritePath_ = stem + ".rewrite.tmp";
  tmpPath_ = stem + ".tmp";
  SdAddCleanupFile(rewritePath_);
  SdAddCleanupFile(tmpPath_);
  body_ = std::fopen(tmpPath_.c_str(), "wb");
  if (!body_) SdError("OUTPUT FILE " + outPath + " CAN NOT BE WRITTEN!");
  const std::string head = HeaderText(provisional, true);
  headerSize_ = head.size();
  std::fwrite(head.data(), 1, head.size(), body_);
}

DiffWriter::~DiffWriter() {
  if (body_) {
    std::fclose(body_);
    std::remove(tmpPath_.c_str());
  }
}

std::string DiffWriter::HeaderText(const DiffHeader& h, bool hasObservations) {
  // The program's own header class writes the layout it reads.
  PhsDiffHeader ph;
  for (int i = 0; i < 2; ++i) {
    ph.SetMarkerName(i, h.markerName[i].c_str());
    ph.SetMarkerNumber(i, h.markerNumber[i].c_str());
    ph.SetReceiverType(i, h.receiverType[i].c_str());
    ph.SetAntennaType(i, h.antennaType[i].c_str());
    ph.SetAntennaSerial(i, h.antennaSerial[i].c_str());
    ph.SetX0(i, xyz(h.xyz[i][0], h.xyz[i][1], h.xyz[i][2]));
    ph.SetDp(i, neu(h.neu[i][0], h.neu[i][1], h.neu[i][2]));
  }
  matrix<short> codes(static_cast<long>(h.types.size()), 1);
  for (size_t k = 0; k < h.types.size(); ++k)
    codes(static_cast<long>(k)) = static_cast<short>(sdmap::FileCode(h.types[k]));
  ph.SetObsTypes(codes);
  ph.SetDiffLevel(1);
  ph.SetHasObservations(hasObservations);
  std::ostringstream out;
  out << ph;
  return out.str();
}

void DiffWriter::WriteEpoch(const mjd& t, long double tagOffset, long double clockBase,
                            long double clockRover, const std::vector<DiffRecord>& records) {
  if (epochs_ == 0) first_ = t;
  unsigned long day = t.GetMJDay();
  long double sec = std::round(t.GetSecond() * 1e7L) / 1e7L;
  if (sec >= 86400.0L) {
    sec -= 86400.0L;
    ++day;
  }
  text_.clear();
  FixedText::Append(text_, static_cast<long>(records.size()), 3);
  text_ += ' ';
  FixedText::Append(text_, static_cast<long>(day), 6);
  text_ += ' ';
  FixedText::Append(text_, sec, 15, 7);
  for (long double v : {tagOffset * 1e6L, clockBase * 1e6L, clockRover * 1e6L}) {
    text_ += ' ';
    FixedText::Append(text_, v, 15, 6);
  }
  text_ += '\n';
  for (const DiffRecord& r : records) {
    FixedText::Append(text_, r.sat, 3);
    for (long double v : r.values) {
      // A wider value would run into the next field and be read back wrong.
      if (FixedText::Append(text_, v, 17, 4) > 17)
        SdError("SINGLE DIFFERENCE OF SATELLITE " + std::to_string(r.sat) + " AT MJD " +
                std::to_string(day) + " " + std::to_string(static_cast<long>(sec)) +
                " s IS TOO LARGE FOR ITS FIELD!");
    }
    text_ += '\n';
  }
  std::fwrite(text_.data(), 1, text_.size(), body_);
  ++epochs_;
  records_ += static_cast<long>(records.size());
}

void DiffWriter::Finish(const DiffHeader& header) {
  const std::string head = HeaderText(header, epochs_ > 0);
  bool ok = std::fflush(body_) == 0 && !std::ferror(body_);
  if (ok && head.size() == headerSize_)
    ok = std::fseek(body_, 0, SEEK_SET) == 0 &&
         std::fwrite(head.data(), 1, head.size(), body_) == head.size();
  ok = std::fclose(body_) == 0 && ok;
  body_ = nullptr;
  if (!ok) SdError("OUTPUT FILE " + outPath_ + " CAN NOT BE WRITTEN!");
  std::string file = tmpPath_;
  if (head.size() != headerSize_) {
    Rewrite(head);
    file = rewritePath_;
  }
  if (std::rename(file.c_str(), outPath_.c_str()) != 0)
    SdError("OUTPUT FILE " + outPath_ + " CAN NOT BE WRITTEN!");
  SdClearCleanupFiles();
}

void DiffWriter::Rewrite(const std::string& head) {
  std::FILE* in = std::fopen(tmpPath_.c_str(), "rb");
  std::FILE* out = std::fopen(rewritePath_.c_str(), "wb");
  bool ok = in && out && std::fseek(in, static_cast<long>(headerSize_), SEEK_SET) == 0 &&
            std::fwrite(head.data(), 1, head.size(), out) == head.size();
  std::vector<char> buf(1 << 16);
  for (size_t k; ok && (k = std::fread(buf.data(), 1, buf.size(), in)) > 0;)
    ok = std::fwrite(buf.data(), 1, k, out) == k;
  ok = ok && !std::ferror(in);
  if (in) std::fclose(in);
  if (out) ok = std::fclose(out) == 0 && ok;
  if (!ok) SdError("OUTPUT FILE " + outPath_ + " CAN NOT BE WRITTEN!");
  std::remove(tmpPath_.c_str());
}
