// One value of the GPT2 grid with its seasonal terms.
#ifndef TERVAN_ATMOSPHERE_GPT2_GRD_H
#define TERVAN_ATMOSPHERE_GPT2_GRD_H

namespace gpt2ns {
// Factor applied to the values when a record is filled (unit of the file column).
extern long double scale;
}  // namespace gpt2ns

class gpt2_grd {
 public:
  static constexpr int N = 5;

  gpt2_grd();
  // Fills the five values (mean, annual cos, annual sin, semi-annual cos, semi-annual sin),
  // each multiplied by gpt2ns::scale.
  void Set(const long double* values);
  // i-th value; an index outside 0..N-1 ends the program.
  long double operator()(int i) const;
  // Seasonal value at t days from J2000.0 (MJD 51544.5).
  long double Seasonal(long double t) const;

 private:
  long double V[N];
};

#endif
