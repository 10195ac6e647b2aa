#include "res2txt/ResidualFile.h"

#include <cmath>
#include <cstring>

namespace {

constexpr int kTypeCount = 8;
// Far more records per epoch than any receiver pair gives (satellites times types);
// a larger count is a damaged file.
constexpr std::int32_t kMaxRecordsPerEpoch = 20000;

bool KnownSatellite(int sat) {
  return (sat >= 1 && sat <= 99) || (sat >= 101 && sat <= 199) || (sat >= 201 && sat <= 299);
}

template <class T>
T FromLittleEndian(const unsigned char* b) {
  std::uint64_t v = 0;
  for (std::size_t k = sizeof(T); k-- > 0;) v = (v << 8) | b[k];
  T out;
  std::memcpy(&out, &v, sizeof(T));  // two's complement for the signed types
  return out;
}

}  // namespace

const char* ResidualTypeName(int type) {
  static const char* const names[kTypeCount] = {"C1", "P1", "P2", "Pc3", "Pp3", "L3", "L1", "L2"};
  return type >= 0 && type < kTypeCount ? names[type] : "?";
}

char ResidualSystem(int sat) {
  return sat < 100 ? 'G' : sat < 200 ? 'R' : 'E';
}

long double ResidualFile::DecodeExt12(const unsigned char bytes[12]) {
  const std::uint64_t mantissa = FromLittleEndian<std::uint64_t>(bytes);
  const unsigned top = bytes[8] | (static_cast<unsigned>(bytes[9]) << 8);
  const int exponent = static_cast<int>(top & 0x7fffu);
  if (exponent == 0x7fff) throw ResidualFileError("NOT A NUMBER IN THE RESIDUAL FILE");
  // value = mantissa * 2^(exponent - 16383 - 63); exponent 0 holds the denormals.
  const int scale = (exponent == 0 ? 1 : exponent) - 16383 - 63;
  const long double value = std::ldexp(static_cast<long double>(mantissa), scale);
  return (top & 0x8000u) ? -value : value;
}

ResidualFile::ResidualFile(std::istream& in) : in_(in) {
  unsigned char b[2];
  Read(b, 2, "satellite count");
  const std::int16_t n = FromLittleEndian<std::int16_t>(b);
  if (n < 0 || n > 299) throw ResidualFileError("INVALID SATELLITE COUNT " + std::to_string(n));
  for (int k = 0; k < n; ++k) {
    Read(b, 2, "satellite list");
    const int sat = FromLittleEndian<std::int16_t>(b);
    if (!KnownSatellite(sat))
      throw ResidualFileError("INVALID SATELLITE NUMBER " + std::to_string(sat));
    sats_.push_back(sat);
  }
}

void ResidualFile::Read(void* to, std::size_t n, const char* what) {
  in_.read(static_cast<char*>(to), static_cast<std::streamsize>(n));
  if (static_cast<std::size_t>(in_.gcount()) != n)
    throw ResidualFileError(std::string("RESIDUAL FILE ENDS INSIDE THE ") + what + " (epoch " +
                            std::to_string(epochCount_ + 1) + ")");
}

long double ResidualFile::ReadExt12(const char* what) {
  unsigned char b[12];
  Read(b, 12, what);
  return DecodeExt12(b);
}

ResidualRecord ResidualFile::ReadRecord() {
  unsigned char b[4];
  ResidualRecord r;
  Read(b, 4, "residual record");
  r.sat = FromLittleEndian<std::int16_t>(b);
  r.type = FromLittleEndian<std::int16_t>(b + 2);
  if (!KnownSatellite(r.sat))
    throw ResidualFileError("INVALID SATELLITE NUMBER " + std::to_string(r.sat));
  if (r.type < 0 || r.type >= kTypeCount)
    throw ResidualFileError("INVALID OBSERVATION TYPE " + std::to_string(r.type));
  r.residual = ReadExt12("residual record");
  r.elevation = ReadExt12("residual record");
  r.azimuth = ReadExt12("residual record");
  Read(b, 1, "residual record");
  if (b[0] > 1) throw ResidualFileError("INVALID OUTLIER FLAG " + std::to_string(b[0]));
  r.outlier = b[0] == 1;
  if (!(std::fabs(r.residual) < 1e9L))
    throw ResidualFileError("RESIDUAL OUT OF RANGE (epoch " + std::to_string(epochCount_ + 1) +
                            ")");
  if (std::fabs(r.elevation) > 90.0L || r.azimuth < -360.0L || r.azimuth > 360.0L)
    throw ResidualFileError("ELEVATION OR AZIMUTH OUT OF RANGE (epoch " +
                            std::to_string(epochCount_ + 1) + ")");
  return r;
}

bool ResidualFile::NextEpoch(ResidualEpoch& epoch) {
  unsigned char b[4];
  in_.read(reinterpret_cast<char*>(b), 4);
  if (in_.gcount() == 0 && in_.eof()) return false;
  if (in_.gcount() != 4)
    throw ResidualFileError("RESIDUAL FILE ENDS INSIDE THE epoch header (epoch " +
                            std::to_string(epochCount_ + 1) + ")");
  epoch.mjdDay = static_cast<long>(FromLittleEndian<std::uint32_t>(b));
  epoch.second = ReadExt12("epoch header");
  Read(b, 4, "epoch header");
  const std::int32_t n = FromLittleEndian<std::int32_t>(b);
  if (epoch.mjdDay > 1000000 || !(epoch.second >= 0.0L && epoch.second < 86401.0L))
    throw ResidualFileError("INVALID EPOCH (epoch " + std::to_string(epochCount_ + 1) + ")");
  if (n <= 0 || n > kMaxRecordsPerEpoch)
    throw ResidualFileError("INVALID RECORD COUNT " + std::to_string(n) + " (epoch " +
                            std::to_string(epochCount_ + 1) + ")");
  epoch.records.clear();
  for (std::int32_t k = 0; k < n; ++k) epoch.records.push_back(ReadRecord());
  ++epochCount_;
  return true;
}
