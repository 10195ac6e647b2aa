#include <sstream>

#include "core/KotnePretvorbe.h"
#include "gnss/xyz.h"
#include "gnss/xyzt.h"
#include "support/TestSupport.h"

TEST(xyz, ArithmeticAndProducts) {
  const xyz a(1, 2, 3), b(4, 5, 6);
  EXPECT_EQ(a + b, xyz(5, 7, 9));
  EXPECT_EQ(b - a, xyz(3, 3, 3));
  EXPECT_EQ(2.0L * a, xyz(2, 4, 6));
  EXPECT_EQ(a * 2.0L, xyz(2, 4, 6));
  EXPECT_EQ(a * b, 32.0L);
  EXPECT_EQ(CrossP(xyz(1, 0, 0), xyz(0, 1, 0)), xyz(0, 0, 1));
  EXPECT_EQ(CrossP(a, b), xyz(-3, 6, -3));
  EXPECT_EQ(ElementP(a, b), xyz(4, 10, 18));
  EXPECT_EQ(sqrt(xyz(4, 9, 16)), xyz(2, 3, 4));
  EXPECT_EQ(xyz(3, 4, 12).GetLength(), 13.0L);
  xyz c = a;
  c /= 2.0L;
  EXPECT_EQ(c, xyz(0.5L, 1, 1.5L));
  EXPECT_TRUE(xyz(1, 1, 1) == xyz(1, 1, 1 + 5e-15L));
  EXPECT_FALSE(xyz(1, 1, 1) == xyz(1, 1, 1 + 1e-13L));
}

TEST(xyz, UnitVectorOfAnOrbitRadius) {
  const xyz p(26560000.0L, 0, 0);
  EXPECT_EQ(p.GetUnitVector(), xyz(1, 0, 0));
  EXPECT_EQ(p.GetUnitVector(-1.0L), xyz(-1, 0, 0));
  EXPECT_NEAR(static_cast<double>(xyz(1e7L, 2e7L, -3e7L).GetUnitVector().GetLength()), 1.0, 1e-15);
  EXPECT_EQ(xyz().GetUnitVector(), xyz());
}

TEST(xyz, Rotations) {
  xyz p(1, 0, 0);
  p.RotateZ(kPi / 2.0L);
  EXPECT_NEAR(static_cast<double>(p.GetY()), 1.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(p.GetX()), 0.0, 1e-15);
  p.RotateX(kPi / 2.0L);
  EXPECT_NEAR(static_cast<double>(p.GetZ()), 1.0, 1e-15);
  p.RotateY(kPi / 2.0L);
  EXPECT_NEAR(static_cast<double>(p.GetX()), 1.0, 1e-15);
}

TEST(xyz, TimeTermOfXyztIsIgnoredByXyz) {
  const xyzt s(1, 2, 3, 0.5L);
  xyz p(10, 10, 10);
  p += s;
  EXPECT_EQ(p, xyz(11, 12, 13));
  p -= s;
  EXPECT_EQ(p, xyz(10, 10, 10));
  EXPECT_EQ(p + s, xyz(11, 12, 13));
  EXPECT_EQ(p * s, 60.0L);
  p = s;
  EXPECT_EQ(p, xyz(1, 2, 3));

  xyzt t = s + s;
  EXPECT_EQ(t.GetT(), 1.0L);
  t += xyz(1, 1, 1);
  EXPECT_EQ(t, xyzt(3, 5, 7, 1.0L));
  EXPECT_FALSE(t == xyzt(3, 5, 7, 1.5L));
}

TEST(xyz, StreamOutputInUnits) {
  std::ostringstream os;
  os << xyz(1.23456L, -2, 3);
  EXPECT_EQ(os.str(), "        1.2346       -2.0000        3.0000");

  const long oldUnit = xyzns::Unit;
  xyzns::Unit = xyzns::MM;
  os.str("");
  os << xyz(1.23456L, 0, 0);
  EXPECT_EQ(os.str(), "     1234.5600        0.0000        0.0000");
  xyzns::Unit = xyzns::KM;
  os.str("");
  os << xyz(1234.5L, 0, 0);
  EXPECT_EQ(os.str(), "        1.2345        0.0000        0.0000");
  xyzns::Unit = oldUnit;

  const long oldUnitT = xyztns::UnitT;
  xyztns::UnitT = xyzns::NS;
  os.str("");
  os << xyzt(1, 2, 3, 1.5e-9L);
  EXPECT_EQ(os.str(), "        1.0000        2.0000        3.0000    1.500000");
  xyztns::UnitT = oldUnitT;

  std::istringstream is("4 5 6.5");
  xyz in;
  is >> in;
  EXPECT_EQ(in, xyz(4, 5, 6.5L));
}
