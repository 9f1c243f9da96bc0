// The fake loop, held to the contract the real loops keep.
#include "contracts/event_loop_contract.h"
#include "platform/virtual_event_loop.h"

namespace tintal::contracts {

template <>
struct LoopTraits<VirtualEventLoop> {
    static std::unique_ptr<VirtualEventLoop> make() { return std::make_unique<VirtualEventLoop>(46000.5); }
    static void tidy() {}
};

INSTANTIATE_TYPED_TEST_SUITE_P(Virtual, EventLoopContract, VirtualEventLoop);

// What only a loop on the system's clock can show.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RealTimeEventLoopContract);

}  // namespace tintal::contracts
