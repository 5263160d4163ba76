#include "platform/temporary_names.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Offered(const std::string& directory, const std::string& baseName,
                                 int takenBefore, std::string* last = nullptr) {
    std::vector<std::string> offered;
    const std::string chosen =
        platform::OfferTemporaryNames(directory, baseName, 4242, [&](const std::string& name) {
            offered.push_back(name);
            return static_cast<int>(offered.size()) > takenBefore;
        });
    if (last != nullptr) *last = chosen;
    return offered;
}

TEST(TemporaryNames, AreHiddenBesideTheTargetAndNameTheProcess) {
    const std::vector<std::string> offered = Offered("/data/logs/", "run.log", 0);
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].rfind("/data/logs/.run.log.4242.", 0), 0u) << offered[0];
    EXPECT_EQ(offered[0].substr(offered[0].size() - 4), ".tmp");
}

TEST(TemporaryNames, KeepALongNameWithinOneNamesLimit) {
    const std::vector<std::string> offered = Offered("d\\", std::string(300, 'x'), 0);
    ASSERT_EQ(offered.size(), 1u);
    const std::string name = offered[0].substr(2);
    EXPECT_LE(name.size(), 255u) << name;
    EXPECT_EQ(name.rfind("." + std::string(200, 'x') + ".4242.", 0), 0u) << name;
}

TEST(TemporaryNames, PassTakenNamesByAndAnswerTheNameThatWasFree) {
    std::string chosen;
    const std::vector<std::string> offered = Offered("/tmp/", "a", 3, &chosen);
    ASSERT_EQ(offered.size(), 4u);
    EXPECT_EQ(std::set<std::string>(offered.begin(), offered.end()).size(), 4u);
    EXPECT_EQ(chosen, offered.back());
}

TEST(TemporaryNames, GiveUpAfterABoundedNumberOfTakenNames) {
    const std::vector<std::string> offered = Offered("/tmp/", "a", 1000000);
    EXPECT_GE(offered.size(), 10u);
    EXPECT_LE(offered.size(), 1000u);
}

TEST(TemporaryNames, NeverRepeatAcrossSaves) {
    const std::vector<std::string> first = Offered("/tmp/", "a", 0);
    const std::vector<std::string> second = Offered("/tmp/", "a", 0);
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NE(first[0], second[0]);
}

}  // namespace
