#include "ParamList.h"

#include <gtest/gtest.h>

TEST(ParamList, HoldsSeventeenRecordsAndNothingOutside) {
   ParamList list;
   for (int i = 0; i < ParamList::kNumParams; ++i)
      EXPECT_NE(list.getParameter(i), nullptr) << i;
   EXPECT_EQ(list.getParameter(17), nullptr);
   EXPECT_EQ(list.getParameter(-1), nullptr);
   EXPECT_EQ(list.getParameter(3)->numValues, 5);
   EXPECT_EQ(list.getParameter(3)->type, ParameterType::List);
   EXPECT_EQ(list.getParameter(4)->type, ParameterType::Continuous);
}

TEST(Param, AddingAnEntryMakesAListParameter) {
   Param p;
   EXPECT_EQ(p.name, "Default");
   EXPECT_EQ(p.getDisplay(0.25f), "0.250");
   p.addString("one");
   p.addString("two");
   EXPECT_EQ(p.type, ParameterType::List);
   EXPECT_EQ(p.numValues, 2);
   EXPECT_EQ(p.getDisplay(0.49f), "one");
   EXPECT_EQ(p.getDisplay(0.5f), "two");
   EXPECT_EQ(p.getDisplay(1.5f), "err");
}
