#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>

// Names for parameterised cases, so a run lists what a case is about instead of its index or the
// bytes of its parameter. A test name holds only letters, digits and "_".

// Letters and digits kept, every other run of characters one "_", at most 48 characters.
std::string TestNameFromText(std::string_view text);

// A case without a name of its own: its position (cases may share their text once cleaned) and
// its text.
std::string IndexedTestName(std::size_t index, std::string_view text);

// The name a parameter prints as with its PrintTo.
template <class Param> std::string PrintedTestName(const ::testing::TestParamInfo<Param>& info)
{
    return TestNameFromText(::testing::PrintToString(info.param));
}
