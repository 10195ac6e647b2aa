#include "atmosphere/IONEXData.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <istream>
#include <optional>
#include <sstream>

#include "core/ProgramError.h"
#include "core/TextFields.h"
#include "gnss/TimeConverse.h"
#include "gnss/ymdhms.h"

namespace {

const char* const kCls = "IONEXData";
const long double kPi = 3.141592653589793L;
// Metres of delay on the first GPS frequency per TEC unit: 40.3e16 / f1^2, f1 = 1575.42 MHz.
const long double kMetresPerTECU = 0.1623724475119947L;

// Number of grid nodes from first to last with the given step (1 for a zero step).
long double NodeCount(long double first, long double last, long double step) {
  if (std::fabs(step) < 0.0001L) return 1.0L;
  return std::floor((last - first) / step + 1e-9L) + 1.0L;
}

}  // namespace

IONEXData::IONEXData(IONEXHeader& head) : neph(0), nhgt(0), nlat(0), nlon(0), ihead(head) {}

void IONEXData::Corrupt(const std::string& what) const {
  FileError(kCls, "IONEX FILE CORRUPTED (" + what + ")!");
}

void IONEXData::SetDimensions() {
  const long double nh = NodeCount(ihead.GetHgt1(), ihead.GetHgt2(), ihead.GetDHgt());
  const long double nb = std::fabs(ihead.GetDLat()) < 0.0001L
                             ? 0.0L
                             : NodeCount(ihead.GetLat1(), ihead.GetLat2(), ihead.GetDLat());
  const long double nl = std::fabs(ihead.GetDLon()) < 0.0001L
                             ? 0.0L
                             : NodeCount(ihead.GetLon1(), ihead.GetLon2(), ihead.GetDLon());
  // Interpolation in space needs at least two latitudes and two longitudes (two maps in
  // time are checked per evaluation).
  if (ihead.GetNMaps() < 1 || ihead.GetInterval() <= 0 || !(nh >= 1.0L && nh <= 1000.0L) ||
      !(nb >= 2.0L && nb <= 100000.0L) || !(nl >= 2.0L && nl <= 100000.0L))
    Corrupt("MAP DIMENSIONS");
  // The single-layer mapping needs a sphere and a layer above it.
  if (!(ihead.GetBaseR() > 0.0) || !(ihead.GetHgt1() >= 0.0)) Corrupt("BASE RADIUS OR HEIGHT");
  neph = ihead.GetNMaps();
  nhgt = static_cast<long>(nh);
  nlat = static_cast<long>(nb);
  nlon = static_cast<long>(nl);
  // The grids first: they refuse a map count too large for memory before the epochs are
  // sized by it.
  TECVAL.Resize(neph, nhgt, nlat, nlon);
  TECRMS.Resize(neph, nhgt, nlat, nlon);
  EPH.Resize(neph, 1);
}

void IONEXData::ReadMaps(std::istream& in) {
  SetDimensions();
  // Maps are found by their time from the first map in steps of the interval, so each map
  // must lie at its step.
  const long double interval = ihead.GetInterval();
  for (long i = 0; i < neph; i++) {
    if (!ReadMap(in, TECVAL, i, "START OF TEC MAP", true))
      Corrupt("TEC MAP " + std::to_string(i + 1) + " MISSING");
    if (std::fabs((EPH(i) - EPH(0)) - interval * i) > 0.5L)
      Corrupt("TEC MAP " + std::to_string(i + 1) + " EPOCH OFF THE INTERVAL");
  }
  for (long i = 0; i < neph; i++) {
    if (ReadMap(in, TECRMS, i, "START OF RMS MAP", false)) continue;
    if (i == 0) break;  // a file without RMS maps: they stay 0
    Corrupt("RMS MAP " + std::to_string(i + 1) + " MISSING");
  }
}

// One map: its start line, the epoch, an optional exponent of the map, then per height the
// latitude rows from the first latitude of the file (index nlat - 1) down to the last.
bool IONEXData::ReadMap(std::istream& in, TEC& maps, long imap, const char* start, bool store) {
  std::string line;
  if (!textfield::SkipPastLabel(in, start)) return false;
  const std::string where = std::string(start).substr(9) + " " + std::to_string(imap + 1);
  std::getline(in, line);
  std::istringstream ep(line);
  long y, mo, d, h, mi;
  long double s;
  if (!textfield::HasLabel(line, "EPOCH OF CURRENT MAP") || !(ep >> y >> mo >> d >> h >> mi >> s))
    Corrupt(where + " EPOCH");
  if (store) EPH(imap) = ymdhms2mjd(ymdhms(y, mo, d, h, mi, s));
  int expo = ihead.GetExponent();
  for (long ih = 0; ih < nhgt; ih++) {
    for (long ib = nlat - 1; ib >= 0; ib--) {
      if (!std::getline(in, line)) Corrupt(where + " ENDS EARLY");
      if (textfield::HasLabel(line, "EXPONENT")) {
        const std::optional<long> e = textfield::Int(line, 0, 60);
        if (!e) Corrupt(where + " EXPONENT");
        expo = static_cast<int>(*e);
        if (!std::getline(in, line)) Corrupt(where + " ENDS EARLY");
      }
      if (!textfield::HasLabel(line, "LAT/LON1/LON2/DLON/H")) Corrupt(where + " LATITUDE ROW");
      ReadRow(in, maps, imap, ih, ib, expo);
    }
  }
  return true;
}

// nlon values of one latitude row, free format over as many lines as they take.
void IONEXData::ReadRow(std::istream& in, TEC& maps, long imap, long ihgt, long ilat, int expo) {
  const long double factor = std::pow(10.0L, static_cast<long double>(expo));
  long got = 0;
  std::string line;
  while (got < nlon) {
    if (!std::getline(in, line) || textfield::HasLabel(line, "END OF") ||
        textfield::HasLabel(line, "LAT/LON1"))
      Corrupt("MAP ROW TOO SHORT");
    const char* p = line.c_str();
    const char* const end = p + line.size();
    long double v;
    while (got < nlon && textfield::ParseDecimal(p, end, v, &p)) {
      if (!std::isfinite(v * factor)) Corrupt("MAP VALUE NOT A NUMBER");
      maps(imap, ihgt, ilat, got++) = v * factor;
    }
    if (!textfield::IsBlank(std::string(p, end))) Corrupt("MAP VALUE NOT A NUMBER");
  }
}

// Longitude cell of the maps and the fraction within it; a longitude beyond the grid is
// first taken one turn around when that brings it inside.
void IONEXData::LongitudeCell(long double lon, long& il1, long double& dla) const {
  const long double lon1 = ihead.GetLon1(), lon2 = ihead.GetLon2(), dlon = ihead.GetDLon();
  if (lon < lon1 - 1e-6L && lon + 360.0L <= lon2 + 1e-6L) lon += 360.0L;
  if (lon > lon2 + 1e-6L && lon - 360.0L >= lon1 - 1e-6L) lon -= 360.0L;
  if (std::fabs(lon - lon1) < 1e-6L) {
    il1 = 0;
    dla = 0.0L;
  } else if (std::fabs(lon - lon2) < 1e-6L) {
    il1 = nlon - 2;
    dla = 1.0L;
  } else {
    const long double k = std::trunc((lon - lon1) / dlon);
    il1 = std::isfinite(k) && std::fabs(k) < 1e6L ? static_cast<long>(k) : nlon;
    dla = (lon - lon1 - il1 * dlon) / dlon;
  }
  if (il1 >= nlon) FileError(kCls, "LONGITUDE FOR IONOSPHERE DELAY INPROPER [iL1]!");
  if (il1 + 1 >= nlon) FileError(kCls, "LONGITUDE FOR IONOSPHERE DELAY INPROPER [iL2]!");
}

long double IONEXData::Bilinear(const TEC& maps, long imap, long ib1, long double q, long il1,
                                long double p) const {
  return (1.0L - p) * (1.0L - q) * maps(imap, 0, ib1, il1) +
         p * (1.0L - q) * maps(imap, 0, ib1, il1 + 1) +
         (1.0L - p) * q * maps(imap, 0, ib1 + 1, il1) + p * q * maps(imap, 0, ib1 + 1, il1 + 1);
}

// The line of sight meets the single layer (radius R + H) at the zenith angle z' there,
// asin(R cos e / (R + H)), an Earth-central angle psi = pi/2 - e - z' from the station in
// the azimuth of the satellite. Returns z' [rad]; latp, lonp the pierce point [deg], the
// longitude within [-180, 180].
long double IONEXData::PiercePoint(long double lat, long double lon, long double elev,
                                   long double azim, long double& latp, long double& lonp) const {
  const long double R = ihead.GetBaseR(), H = ihead.GetHgt1();
  const long double d = kPi / 180.0L, e = elev * d, A = azim * d, f = lat * d;
  const long double z = std::asin(R / (R + H) * std::cos(e));
  const long double psi = kPi / 2.0L - e - z;
  if (std::fabs(psi) < 1e-12L) {  // toward the zenith: the point above the station
    latp = lat;
    lonp = lon;
    return z;
  }
  auto clamp = [](long double x) { return std::max(-1.0L, std::min(1.0L, x)); };
  const long double fp =
      std::asin(clamp(std::sin(f) * std::cos(psi) + std::cos(f) * std::sin(psi) * std::cos(A)));
  const long double cfp = std::cos(fp);
  const long double dl = cfp > 0.0L ? std::asin(clamp(std::sin(psi) * std::sin(A) / cfp)) : 0.0L;
  latp = fp / d;
  lonp = lon + dl / d;
  if (lonp > 180.0L) lonp -= 360.0L;
  if (lonp < -180.0L) lonp += 360.0L;
  return z;
}

long double IONEXData::CalcIonDelay(long double& sod, long double& lat, long double& lon,
                                    long double& elev, long double azim, int& unit, int& type,
                                    int& kind) {
  if (type < 0 || type > 2) {
    ClassWarning(kCls, "IONEX DELAY TYPE INCORRECT - USING TYPE 3!");
    type = 2;
  }
  if (neph == 0) FileError(kCls, "SECONDS OF DAY FOR IONOSPHERE DELAY INPROPER [iT1]!");

  // Maps around the epoch; before the first or after the last map the two end maps are
  // extrapolated over at most one interval (the map index is rounded down, so that an epoch
  // more than one interval before the first map is refused like one after the last).
  const long double interval = ihead.GetInterval();
  const long double s1 = EPH(0).GetSecond();
  const long double k = std::floor((sod - s1) / interval);
  long it1 = std::isfinite(k) && std::fabs(k) < 1e9L ? static_cast<long>(k) : -2;
  if (it1 < -1) FileError(kCls, "SECONDS OF DAY FOR IONOSPHERE DELAY INPROPER [iT1<-1]!");
  if (it1 == -1) it1 = 0;
  if (it1 == neph - 1 && neph > 1) it1 = neph - 2;
  const long it2 = it1 + 1;
  const long double dsec = (sod - s1 - interval * it1) / interval;
  if (it1 >= neph) FileError(kCls, "SECONDS OF DAY FOR IONOSPHERE DELAY INPROPER [iT1]!");
  if (it2 >= neph) FileError(kCls, "SECONDS OF DAY FOR IONOSPHERE DELAY INPROPER [iT2]!");

  long double latp = 0.0L, lonp = 0.0L;
  const long double z = PiercePoint(lat, lon, elev, azim, latp, lonp);

  // Latitude row; index 0 is the last latitude of the file.
  const long double lat2 = ihead.GetLat2(), adlat = std::fabs(ihead.GetDLat());
  const long double kb = std::trunc((latp - lat2) / adlat);
  long ib1 = std::isfinite(kb) && std::fabs(kb) < 1e6L ? static_cast<long>(kb) : -2;
  if (ib1 < -1) FileError(kCls, "LATITUDE FOR IONOSPHERE DELAY INPROPER [iB1<-1]!");
  if (ib1 == -1) ib1 = 0;
  if (ib1 == nlat - 1) ib1 = nlat - 2;
  const long double dbeta = (latp - lat2 - ib1 * adlat) / adlat;
  if (ib1 >= nlat) FileError(kCls, "LATITUDE FOR IONOSPHERE DELAY INPROPER [iB1]!");
  if (ib1 + 1 >= nlat) FileError(kCls, "LATITUDE FOR IONOSPHERE DELAY INPROPER [iB2]!");

  const TEC& maps = kind == 0 ? TECVAL : TECRMS;
  long double tec = 0.0L;
  if (type == 0) {
    long il1;
    long double dla;
    LongitudeCell(lonp, il1, dla);
    tec =
        maps(dsec < 0.5L ? it1 : it2, 0, dbeta < 0.5L ? ib1 : ib1 + 1, dla < 0.5L ? il1 : il1 + 1);
  } else {
    long double lon1 = lonp, lon2 = lonp;
    if (type == 2) {
      // Maps rotated with the Sun: each map is taken at the longitude it had at its epoch.
      const long double r = 360.0L / (neph - 1);
      lon1 = lonp + dsec * r;
      lon2 = lonp - (1.0L - dsec) * r;
      for (long double* l : {&lon1, &lon2}) {
        if (*l > 180.0L) *l -= 360.0L;
        if (*l <= -180.0L) *l += 360.0L;
      }
    }
    long il1, il2;
    long double dla1, dla2;
    LongitudeCell(lon1, il1, dla1);
    LongitudeCell(lon2, il2, dla2);
    const long double v1 = Bilinear(maps, it1, ib1, dbeta, il1, dla1);
    const long double v2 = Bilinear(maps, it2, ib1, dbeta, il2, dla2);
    tec = (1.0L - dsec) * v1 + dsec * v2;
  }

  const long double slant = tec / std::cos(z);
  return unit == 0 ? slant * kMetresPerTECU : slant;
}
