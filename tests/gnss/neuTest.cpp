#include <sstream>

#include "gnss/neu.h"
#include "gnss/neut.h"
#include "support/TestSupport.h"

TEST(neu, Arithmetic) {
  neu a(1, 2, 2);
  EXPECT_EQ(a.GetLength(), 3.0L);
  EXPECT_EQ(a + neu(1, 1, 1), neu(2, 3, 3));
  EXPECT_EQ(a - neu(1, 1, 1), neu(0, 1, 1));
  a /= 2.0L;
  EXPECT_EQ(a, neu(0.5L, 1, 1));
  EXPECT_EQ(sqrt(neu(4, 9, 16)), neu(2, 3, 4));
  neut t(1, 2, 3, 4);
  t += neut(1, 1, 1, 1);
  EXPECT_EQ(t, neut(2, 3, 4, 5));
  EXPECT_EQ(t.GetNEU(), neu(2, 3, 4));
}

TEST(neu, RinexOutputShowsUpFirst) {
  const short old = neuns::PrintType;
  neuns::PrintType = neuns::RINEX;
  std::ostringstream os;
  os << neu(1, 2, 3);
  neuns::PrintType = old;
  EXPECT_EQ(os.str(), "        3.0000        2.0000        1.0000");

  os.str("");
  os << neu(1, 2, 3);
  EXPECT_EQ(os.str(), "      1.0000      2.0000    3.0000");
}
