#pragma once
// A test fixture holding the real main dialog, opened modeless on the test
// thread before each test; the test fails at once when it cannot be opened.
#include <gtest/gtest.h>

#include "MainDialogProbe.h"

class OpenMainDialog : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog.Open()); }

    MainDialogProbe dialog;
};
