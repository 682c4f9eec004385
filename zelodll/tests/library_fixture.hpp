// Every library test starts from the state at load and an empty fake line.
#pragma once

#include <gtest/gtest.h>

#include "fake_pendra.hpp"
#include "library_state.hpp"
#include "zelodll.h"

using fake_pendra::reply;

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake_pendra::reset();
        zelo::resetStateForTesting();
    }
    void TearDown() override {
        fake_pendra::reset();
        zelo::resetStateForTesting();
    }
};
