// The fake channel the radio tests use, held to the contract the real channels keep.
#include "contracts/companion_channel_contract.h"
#include "fakes/fake_companion_channel.h"

namespace tintal::contracts {

template <>
struct CompanionTraits<FakeCompanionChannel> {
    struct Session {
        std::unique_ptr<CompanionChannel> channel() {
            return std::make_unique<FakeCompanionChannel>(objects, "channel " + std::to_string(++made));
        }
        FakeCompanionObjects objects;
        int made = 0;
    };
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, CompanionChannelContract, FakeCompanionChannel);

// What only channels that meet other processes can show.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CrossProcessCompanionContract);

}  // namespace tintal::contracts
