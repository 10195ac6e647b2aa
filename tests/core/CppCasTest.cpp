#include <gtest/gtest.h>

#include <cstring>
#include <regex>

#include "core/CppCas.h"

TEST(CppCas, DateText) {
  CppCas t;
  const std::string text = t.Ascii();
  EXPECT_TRUE(std::regex_match(text, std::regex(R"(\d{4}-\d\d-\d\d  \d\d:\d\d:\d\d)"))) << text;
  EXPECT_GE(t.LetoDt(), 2020);
  EXPECT_GE(t.MesecDt(), 0);
  EXPECT_LE(t.MesecDt(), 11);
  EXPECT_GE(t.DanDt(), 1);
  EXPECT_LE(t.Ura(), 23);
}

TEST(CppCas, StopWithoutStartGivesZero) {
  CppCas t;
  EXPECT_EQ(t.Stop(), 0.0);
  t.Start();
  EXPECT_GE(t.Stop(), 0.0);
  EXPECT_EQ(t.Stop(), 0.0);  // the measurement has ended
  prgutil::ctm.Start();
  EXPECT_GE(prgutil::ctm.Stop(), 0.0);
}
