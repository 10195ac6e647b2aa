#include "preprocess/Tervan_GetInitPos.h"

#include <iomanip>
#include <iostream>
#include <string>

#include "core/ProgramError.h"
#include "core/ProgramOutput.h"
#include "core/StreamFormatGuard.h"
#include "gnss/TimeConverse.h"
#include "gnss/g_lg.h"
#include "gnss/xyz_flh.h"

namespace {

const char* const Step = "Tervan::GetReceiverProperties(): ";
const char* const Detail = "Tervan::GetReceiverProperties():         ";
const char* const Rule = "  -------------------------------------";

void PrintStations(const PhsDiffHeader& h) {
  std::cout << "  MARKER NAME / MARKER NUMBER         : BASE - " << h.GetMarkerName(0) << " / "
            << h.GetMarkerNumber(0) << "     ROVER: " << h.GetMarkerName(1) << " / "
            << h.GetMarkerNumber(1) << '\n';
  std::cout << "  GNSS antenna type                   : BASE - " << h.GetAntennaType(0)
            << "     ROVER: " << h.GetAntennaType(1) << '\n';
  std::cout << "  GNSS receiver type                  : BASE - " << h.GetReceiverType(0)
            << "     ROVER: " << h.GetReceiverType(1) << "\n\n";
}

void PrintEpoch(const char* label, const mjd& t) {
  std::cout << label << mjd2ymdhms(t) << "   [" << t << "]\n";
}

// Span of the data in hours, minutes and seconds, and its first and last epoch.
void PrintSpan(const PhsDiffData& d) {
  if (d.neph < 1) return;
  const mjd first = d.epoch(0), last = d.epoch(d.neph - 1);
  const long double span = last - first;
  const long hours = static_cast<long>(span / 3600.0L);
  const long minutes = static_cast<long>((span - hours * 3600.0L) / 60.0L);
  const long double seconds = span - hours * 3600.0L - minutes * 60.0L;
  std::cout << std::fixed << "  GNSS observation data interval      : " << std::setw(3) << hours
            << ":" << std::setw(2) << minutes << ":" << std::setw(4) << std::setprecision(1)
            << seconds << "  [" << span << " s]\n";
  PrintEpoch("                First data epoch      : ", first);
  PrintEpoch("                 Last data epoch      : ", last);
  std::cout << '\n';
}

// "BASE" or "ROVER", followed by the marker name when the header gives one.
std::string StationLabel(const PhsDiffHeader& h, int station) {
  std::string name = h.GetMarkerName(station);
  const auto last = name.find_last_not_of(' ');
  name.erase(last == std::string::npos ? 0 : last + 1);
  return std::string(station == 0 ? "BASE" : "ROVER") + (name.empty() ? "" : " " + name);
}

// A header without the station's position (all zero or absent) gives no geometry:
// every range and elevation would be nonsense.
xyz HeaderPosition(const TervanC& tc, int station) {
  const xyz header = tc.sdh.GetX0(station);
  if (header.GetLength() > 0.0L) return header;
  ProgramError("Tervan", StationLabel(tc.sdh, station) +
                             " HAS NO A-PRIORI POSITION: GIVE IT IN THE SINGLE DIFFERENCES HEADER "
                             "(XYZ POSITION, FILLED BY tervan-sdiff WITH --nav OR --sp3) OR IN AN "
                             "APRIORI COORDINATE FILE (-ac)!");
}

// Marker position of one station: the coordinate file's at the epoch when it lists
// the station, else the single-difference header's.
xyz MarkerPosition(TervanC& tc, int station, const mjd& middle) {
  if (!tc.isAprCrd) return HeaderPosition(tc, station);
  const xyz listed =
      tc.acrd.GetCRD(tc.sdh.GetMarkerName(station), tc.sdh.GetMarkerNumber(station), middle);
  if (tc.acrd.IsSite()) return listed;
  const xyz header = HeaderPosition(tc, station);
  ProgramWarning("Tervan", std::string(station == 0 ? "BASE" : "ROVER") +
                               " SITE NAME NOT LISTED IN APRIORI COORDINATE FILE - USING VALUES "
                               "FROM SINGLE DIFFERENCES FILE!");
  return header;
}

// One line per station: name right-justified in 35 characters, then the value.
template <class T>
void PrintPerStation(const PhsDiffHeader& h, const T& base, const T& rover, const char* separator) {
  std::cout << std::setw(35) << std::right << h.GetMarkerName(0) << separator << base << '\n';
  std::cout << std::setw(35) << std::right << h.GetMarkerName(1) << separator << rover << '\n';
}

void PrintPositions(const TervanC& tc, const char* title, const xyz& b, const xyz& r, const flh& bg,
                    const flh& rg) {
  std::cout << title << '\n' << Rule << '\n';
  std::cout << "              CARTESIAN COORDINATES   : \n";
  PrintPerStation(tc.sdh, b, r, "   : ");
  std::cout << "              GEODETIC  COORDINATES   : \n";
  PrintPerStation(tc.sdh, bg, rg, "   : ");
  std::cout << '\n';
}

void SetMarkers(TervanC& tc) {
  if (tc.verbose) std::cerr << Detail << "Setting a-priori coordinates!\n";
  const mjd middle = tc.sdd.neph > 0 ? tc.sdd.epoch((tc.sdd.neph - 1) / 2) : mjd();
  tc.RecPos0_BASE = MarkerPosition(tc, 0, middle);
  tc.RecPos0_ROVER = MarkerPosition(tc, 1, middle);
  tc.RecPos0G_BASE = xyz2flh(tc.RecPos0_BASE, tc.eGPS);
  tc.RecPos0G_ROVER = xyz2flh(tc.RecPos0_ROVER, tc.eGPS);
  PrintPositions(tc, "  A-priori station coordinates        :", tc.RecPos0_BASE, tc.RecPos0_ROVER,
                 tc.RecPos0G_BASE, tc.RecPos0G_ROVER);
}

// Antenna reference points: the header's eccentricities (north, east, up) turned
// into the Earth-fixed frame at the marker and added to it.
void SetReferencePoints(TervanC& tc) {
  tc.RecPosEccLG_BASE = tc.sdh.GetDp(0);
  tc.RecPosEccLG_ROVER = tc.sdh.GetDp(1);
  tc.RecPosEcc_BASE = lg2g(tc.RecPosEccLG_BASE, tc.RecPos0_BASE, tc.eGPS);
  tc.RecPosEcc_ROVER = lg2g(tc.RecPosEccLG_ROVER, tc.RecPos0_ROVER, tc.eGPS);
  tc.RecPosFC_BASE = tc.RecPos0_BASE + tc.RecPosEcc_BASE;
  tc.RecPosFC_ROVER = tc.RecPos0_ROVER + tc.RecPosEcc_ROVER;
  tc.RecPosFCG_BASE = xyz2flh(tc.RecPosFC_BASE, tc.eGPS);
  tc.RecPosFCG_ROVER = xyz2flh(tc.RecPosFC_ROVER, tc.eGPS);
  std::cout << "  S.D. header eccentricity [NEU]     :\n" << Rule << '\n';
  PrintPerStation(tc.sdh, tc.RecPosEccLG_BASE, tc.RecPosEccLG_ROVER, "   :");
  std::cout << '\n';
  PrintPositions(tc, "  A-priori REF. POINT coordinates     :", tc.RecPosFC_BASE, tc.RecPosFC_ROVER,
                 tc.RecPosFCG_BASE, tc.RecPosFCG_ROVER);
}

void SetBaselines(TervanC& tc) {
  tc.Delta_RecPos0 = tc.RecPos0_ROVER - tc.RecPos0_BASE;
  tc.Delta_RecPosEst = tc.Delta_RecPos0;
  tc.Delta_RecPosFC = tc.RecPosFC_ROVER - tc.RecPosFC_BASE;
  std::cout << "  A-priori BASELINE components        :\n" << Rule << '\n';
  std::cout << "        Physical stabilization        : " << tc.Delta_RecPos0 << '\n';
  std::cout << "       Antenna reference point        : " << tc.Delta_RecPosFC << "\n\n";
  std::cout << "  A-priori BASELINE length            :\n" << Rule << '\n' << std::fixed;
  std::cout << "        Physical stabilization        : " << std::setprecision(4) << std::setw(16)
            << tc.Delta_RecPos0.GetLength() << " m\n";
  std::cout << "       Antenna reference point        : " << std::setw(16)
            << tc.Delta_RecPosFC.GetLength() << " m\n\n";
}

// Unit vectors and geocentric distances of the markers (solid earth tide).
void SetUnitVectors(TervanC& tc) {
  if (tc.verbose)
    std::cerr << Detail << "BASE/ROVER Receiver unit vector and magnitude - solid earth tide!\n";
  tc.RecMag_BASE = tc.RecPos0_BASE.GetLength();
  tc.RecMag_ROVER = tc.RecPos0_ROVER.GetLength();
  tc.RecPosUnit_BASE = tc.RecPos0_BASE.GetUnitVector();
  tc.RecPosUnit_ROVER = tc.RecPos0_ROVER.GetUnitVector();
  xyzns::NDec = 10;
  std::cout << "  Solid Earth tide parameters         :\n" << Rule << '\n';
  std::cout << "         RECEIVER UNIT VECTOR         : \n";
  PrintPerStation(tc.sdh, tc.RecPosUnit_BASE, tc.RecPosUnit_ROVER, "   : ");
  std::cout << "         RECEIVER DISTANCE FROM ORIGIN: \n" << std::fixed << std::setprecision(1);
  std::cout << std::setw(35) << tc.sdh.GetMarkerName(0) << "   : " << std::setw(12)
            << tc.RecMag_BASE << " m \n";
  std::cout << std::setw(35) << tc.sdh.GetMarkerName(1) << "   : " << std::setw(12)
            << tc.RecMag_ROVER << " m \n\n\n";
}

}  // namespace

void GetReceiverProperties(TervanC& tc) {
  StreamFormatGuard keep(std::cout);
  if (tc.verbose) std::cerr << Step << "RECEIVER POSITION PARAMETERS!!\n";
  ProgramSubSubTitle("GETTING BASE AND ROVER RECEIVER PROPERTIES:", 0);
  PrintStations(tc.sdh);
  PrintSpan(tc.sdd);
  flhns::Unit = flhns::DMSV;
  flhns::NDecFL = 5;
  flhns::WidthFL = 16;
  flhns::WidthH = 12;
  xyzns::Width = 16;
  xyzns::NDec = 4;  // a previous run in the same process may have left 10
  SetMarkers(tc);
  SetReferencePoints(tc);
  SetBaselines(tc);
  SetUnitVectors(tc);
  std::cout << std::flush;
}
