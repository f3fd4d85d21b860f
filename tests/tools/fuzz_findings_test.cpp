// Every input kept in fuzz/corpus (seeds, and what fuzzing once found wrong) goes through the
// property its fuzz target holds, in every test run and not only when fuzzing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/bank_properties.h"

namespace {

using TProperty = std::string (*)(const uint8_t*, std::size_t);

class FuzzFindings : public testing::TestWithParam<std::pair<const char*, TProperty>> {};

TEST_P(FuzzFindings, HoldTheirProperty) {
  const auto& [target, property] = GetParam();
  const std::filesystem::path folder = std::filesystem::path(TARVOLIN_FUZZ_CORPUS) / target;
  int inputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(property(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), "")
        << entry.path().filename();
    ++inputs;
  }
  EXPECT_GT(inputs, 0) << folder;
}

INSTANTIATE_TEST_SUITE_P(EachTarget, FuzzFindings,
                         testing::Values(std::make_pair("fuzz_bank_import", &ImportProperty),
                                         std::make_pair("fuzz_bank_export", &ExportProperty),
                                         std::make_pair("fuzz_conversions", &ConversionProperty)),
                         [](const auto& info) { return std::string(info.param.first + 5); });

}  // namespace
