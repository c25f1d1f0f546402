// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Binds the shared cell fixture overlay as the program's text table for the
// life of a test, so "$name" items and option lists find their entries.

#include <gtest/gtest.h>

#include <memory>

#include "text/gtex.h"

class CellFixtureTable : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = gGTex;
    table_ = std::make_unique<cmcGTex>();
    table_->Bind(SEACLONE_TEST_DATA "/cells/cells.ovl");
    gGTex = table_.get();
  }
  void TearDown() override { gGTex = saved_; }
  cmcGTex& Table() { return *table_; }

 private:
  cmcGTex* saved_ = nullptr;
  std::unique_ptr<cmcGTex> table_;
};
