#include "station/otlData.h"

#include <cstdio>
#include <ostream>
#include <string>

namespace {

// Amplitudes as "%7.5f" with the leading zero blanked (" .00352").
std::string AmplitudeField(long double a) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%7.5f", static_cast<double>(a));
  std::string s(buf);
  if (s.compare(0, 2, "0.") == 0) s[0] = ' ';
  return s;
}

std::string PhaseField(long double p) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%7.1f", static_cast<double>(p));
  return buf;
}

}  // namespace

otlData::otlData() : AMP(11, 1, neu(0, 0, 0)), PHS(11, 1, neu(0, 0, 0)) {
  pt[0] = '\0';
}

void otlData::SetName(const char* name) {
  std::snprintf(pt, sizeof pt, "%s", name);
}

std::ostream& operator<<(std::ostream& os, const otlData& d) {
  const long double rad2deg = 180.0L / 3.141592653589793L;
  char head[128];
  os << "$$\n  " << d.pt << "\n$$\n$$\n";
  std::snprintf(head, sizeof head, "$$ %-39.39slon/lat:%10.4f%10.4f%8.2f", d.pt,
                static_cast<double>(d.gpos.GetL() * rad2deg),
                static_cast<double>(d.gpos.GetF() * rad2deg), static_cast<double>(d.gpos.GetH()));
  os << head << "\n";
  for (int c = 0; c < 3; c++) {
    os << ' ';
    for (long i = 0; i < 11; i++) {
      const neu& a = d.AMP(i);
      os << AmplitudeField(c == 0 ? a.GetU() : c == 1 ? a.GetE() : a.GetN());
    }
    os << "\n";
  }
  for (int c = 0; c < 3; c++) {
    os << ' ';
    for (long i = 0; i < 11; i++) {
      const neu& p = d.PHS(i);
      os << PhaseField(-(c == 0 ? p.GetU() : c == 1 ? p.GetE() : p.GetN()));
    }
    os << "\n";
  }
  return os;
}
