#include "res2txt/Res2TxtTool.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/ProgramError.h"
#include "core/ProgramVersion.h"
#include "res2txt/ResidualText.h"

namespace {

const char* const kName = "tervan-res2txt";

const char* const kHelp =
    R"(tervan-res2txt: the binary residual file of a Tervan run (option -fp) as text.

Usage: tervan-res2txt RESIDUALS.bin [OUT.txt]

Without OUT.txt the text goes to standard output. One line per residual:
  MJD[d] DATE TIME SAT SYS TYPE RES[m] ELEV[deg] AZIM[deg] OUTLIER
MJD with the fraction of the day; date YYYY-MM-DD and time HH:MM:SS.sss (GPS time);
satellite (G05, R12, E30) and its system letter; observation type (C1, P1, P2 or C7,
Pc3, Pp3, L3, L1, L2 or L7); residual computed minus observed [m]; mean elevation
and azimuth of BASE and ROVER [degrees]; 1 for an observation excluded as an outlier,
else 0. Comment lines begin with "#" and list the satellites.

Options:
  -h, --help     this text
  --version      the version and the commit it was built from

Exit status 0 on success, 1 after an error (a damaged or truncated file); a failed
run leaves no output file behind.
)";

int Fail(std::ostream& err, const std::string& text) {
  WriteFramed(err, {"****", kName, "Error", text, "Exiting ", true, true});
  return 1;
}

bool SamePath(const std::string& a, const std::string& b) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (fs::equivalent(a, b, ec) && !ec) return true;
  const fs::path pa = fs::weakly_canonical(fs::absolute(a, ec), ec);
  const fs::path pb = fs::weakly_canonical(fs::absolute(b, ec), ec);
  return !ec && pa == pb;
}

// Writes into "<out>.part" and renames it when the whole file is converted.
int ConvertToFile(std::istream& in, const std::string& out, std::ostream& err) {
  const std::string part = out + ".part";
  std::ofstream os(part, std::ios::out | std::ios::trunc);
  if (!os) return Fail(err, "OUTPUT FILE CAN NOT BE WRITTEN: " + out);
  try {
    ResidualText::Convert(in, os);
    os.close();
    if (!os) throw ResidualFileError("OUTPUT FILE CAN NOT BE WRITTEN: " + out);
  } catch (const ResidualFileError& e) {
    os.close();
    std::remove(part.c_str());
    return Fail(err, e.what());
  }
  if (std::rename(part.c_str(), out.c_str()) != 0) {
    std::remove(part.c_str());
    return Fail(err, "OUTPUT FILE CAN NOT BE WRITTEN: " + out);
  }
  return 0;
}

}  // namespace

int RunRes2Txt(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> files;
  for (const std::string& a : args) {
    if (a == "-h" || a == "--help") {
      out << kHelp;
      return 0;
    }
    if (a == "--version") {
      out << VersionLine(kName) << '\n';
      return 0;
    }
    if (a.size() > 1 && a[0] == '-') return Fail(err, "UNKNOWN OPTION " + a + " (see --help)");
    files.push_back(a);
  }
  if (files.empty() || files.size() > 2)
    return Fail(err, "GIVE THE RESIDUAL FILE AND OPTIONALLY THE OUTPUT FILE (see --help)");
  std::ifstream in(files[0], std::ios::binary);
  if (!in) return Fail(err, "RESIDUAL FILE CAN NOT BE OPENED: " + files[0]);
  if (files.size() == 2) {
    if (SamePath(files[0], files[1]))
      return Fail(err, "OUTPUT FILE IS THE RESIDUAL FILE - WILL NOT OVERWRITE IT: " + files[1]);
    return ConvertToFile(in, files[1], err);
  }
  try {
    ResidualText::Convert(in, out);
  } catch (const ResidualFileError& e) {
    return Fail(err, e.what());
  }
  return 0;
}
