// Every library test starts from the state at load and an empty fake line.
#pragma once

#include <gtest/gtest.h>

#include "fake_pendra.hpp"
#include "library_state.hpp"
#include "zelodll.h"

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

    static fake_pendra::Reply reply(int16_t result, std::string bytes = {}, int length = -1) {
        fake_pendra::Reply r;
        r.result = result;
        r.bytes = std::move(bytes);
        r.length = length;
        return r;
    }
};
