// The recorded x87 results, checked on every platform: no x87 needed.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "real_ops.hpp"

namespace cp {
namespace {

Real run(const std::string& name, Real a, Real b) {
    if (name == "power") return power(a, b);
    for (const real_ops::Op& op : real_ops::kOps) {
        if (op.name == name) return op.run(a, b);
    }
    ADD_FAILURE() << "unknown operation " << name;
    return Real::default_nan();
}

TEST(RealVectors, EveryRecordedResult) {
    std::ifstream file(COLLATZPERM_GOLDEN_DIR "/real_vectors.txt");
    ASSERT_TRUE(file) << "tests/golden/real_vectors.txt is missing";
    int checked = 0;
    int wrong = 0;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name, a_text, b_text, result_text;
        fields >> name >> a_text >> b_text >> result_text;
        Real a, b, expected;
        ASSERT_TRUE(real_ops::parse_hex(a_text, a) && real_ops::parse_hex(b_text, b) &&
                    real_ops::parse_hex(result_text, expected))
            << line;
        const Real result = run(name, a, b);
        ++checked;
        if (!real_ops::same_bits(result, expected) && wrong++ < 20) {
            ADD_FAILURE() << line << ": got " << real_ops::hex(result);
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(checked, 3000);
}

}  // namespace
}  // namespace cp
