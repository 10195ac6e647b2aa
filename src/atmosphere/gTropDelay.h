// Troposphere delay of one station towards one satellite: zenith delays and mapping functions.
#ifndef TERVAN_ATMOSPHERE_GTROPDELAY_H
#define TERVAN_ATMOSPHERE_GTROPDELAY_H

class gTropDelay {
 public:
  gTropDelay() : tdry(0.0L), twet(0.0L), mfdry(1.0L), mfwet(1.0L) {}

  void SetZenithDelay(long double dry, long double wet) {
    tdry = dry;
    twet = wet;
  }
  void SetMappFunction(long double dry, long double wet) {
    mfdry = dry;
    mfwet = wet;
  }

  long double ZenithDelayDry() const { return tdry; }  // [m]
  long double ZenithDelayWet() const { return twet; }  // [m]
  long double MappFunDry() const { return mfdry; }
  long double MappFunWet() const { return mfwet; }
  long double DelayDry() const { return tdry * mfdry; }  // slant hydrostatic delay [m]
  long double DelayWet() const { return twet * mfwet; }  // slant wet delay [m]
  long double Delay() const { return DelayDry() + DelayWet(); }

 private:
  long double tdry;   // zenith hydrostatic delay [m]
  long double twet;   // zenith wet delay [m]
  long double mfdry;  // hydrostatic mapping function
  long double mfwet;  // wet mapping function
};

#endif
