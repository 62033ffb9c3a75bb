#include <gtest/gtest.h>

#include "setup/TempFolderRules.h"

using namespace vnt;

TEST(TempFolderRules, OnlyTheNamesRunsMakeAreSetupFolders) {
  EXPECT_EQ(SetupTempFolderName(1), "vnt001");
  EXPECT_EQ(SetupTempFolderName(999), "vnt999");
  EXPECT_TRUE(IsSetupTempFolderName(SetupTempFolderName(1)));
  EXPECT_TRUE(IsSetupTempFolderName(SetupTempFolderName(999)));
  for (const char* other : {"vntx01", "vnt0001", "vnt01", "vnt", "", "VNT001", "xvnt001", "vnt00a", "vnt 01",
                            "vnt001.", "vnt-01", "..", "vnt001\\x"})
    EXPECT_FALSE(IsSetupTempFolderName(other)) << other;
}

TEST(TempFolderRules, AFolderGoesOnlyWhenItsRunHasSurelyEnded) {
  EXPECT_TRUE(IsLeftoverSetupFolder(TRunLockState::Released, 0));
  EXPECT_TRUE(IsLeftoverSetupFolder(TRunLockState::Missing, LocklessFolderSeconds));
  // A lockless folder may be one a run has only just made.
  EXPECT_FALSE(IsLeftoverSetupFolder(TRunLockState::Missing, LocklessFolderSeconds - 1));
  EXPECT_FALSE(IsLeftoverSetupFolder(TRunLockState::Missing, -3 * LocklessFolderSeconds));  // dated ahead
  for (TRunLockState kept : {TRunLockState::Held, TRunLockState::Unknown})
    EXPECT_FALSE(IsLeftoverSetupFolder(kept, 100 * LocklessFolderSeconds));
}
