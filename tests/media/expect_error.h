#pragma once
// Expects fn() to throw an E whose message is exactly `message`.

#include <gtest/gtest.h>

#include <string>

namespace pellox::testing {

template <class E, class F>
void ExpectError(F&& fn, const std::string& message) {
    try {
        fn();
        ADD_FAILURE() << "no error, expected \"" << message << "\"";
    } catch (const E& error) {
        EXPECT_EQ(std::string(error.what()), message);
    }
}

}  // namespace pellox::testing
