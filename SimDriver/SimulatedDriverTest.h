// Base of the GoogleTest fixtures that script the simulated adapter: the driver is
// installed once per program, and every test starts and ends with it reset, since its
// state is shared by the whole prefix.
#pragma once

#include <gtest/gtest.h>

#include "SimClient.h"

class SimulatedDriverTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { ASSERT_EQ("", sim::InstallDriver()); }
  void SetUp() override {
    ASSERT_TRUE(sim.IsOpen());
    ASSERT_TRUE(sim.Reset());
  }
  void TearDown() override { EXPECT_TRUE(sim.Reset()); }

  sim::Client sim;
};
