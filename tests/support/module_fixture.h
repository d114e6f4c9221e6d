// A fresh Module for every test, so no test sees another's flags, images or exercise.
#pragma once

#include <gtest/gtest.h>

#include "frame/lifecycle.h"
#include "frame/module.h"

namespace quibra::testing {

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override { frame::LoadModule(); }
  void TearDown() override { frame::UnloadModule(); }

  Module& m() { return module(); }
};

}  // namespace quibra::testing
